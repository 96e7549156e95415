#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace sentravex {

// One running copy per account: a second launch asks the first to show its window and leaves.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // True when another copy answered and was asked to come to the front.
    bool notifyRunningInstance();
    // Becomes the running copy; false when the name cannot be taken.
    bool listen();

signals:
    void reopenRequested();

private:
    QString name_;
    QLocalServer* server_;
};

} // namespace sentravex
