#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace sentravex {

// One running copy per account: a second launch asks the first to show its window and leaves.
// The socket lives in a folder only this account can write in, each side checks the other's
// user, and a launch leaves only when the running copy says it has shown its window: in any
// doubt it opens a window of its own.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `folder` holds the socket: the account's runtime folder. One that others can write in is
    // not used at all.
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);

    // True when a copy run by this account answered that its window is in front.
    bool notifyRunningInstance();
    // Becomes the running copy; false when the folder is not private or the socket cannot be
    // made.
    bool listen();

signals:
    void reopenRequested();

private:
    QString path_; // empty when the folder is not to be trusted
    QLocalServer* server_;
};

} // namespace sentravex
