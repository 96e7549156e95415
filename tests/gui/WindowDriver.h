#pragma once

#include "GuiFakes.h"
#include "MacFixture.h"
#include "ViewController.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTextDocument>
#include <memory>

namespace sentravex::test {

// A name that is markup: shown as rich text, it would load the host path its image names.
inline const QString markupName = QStringLiteral("X<img src=\"&#47;tmp&#47;fifo\">  &amp; y");

// What a tooltip shows: the toolkit renders one that looks like markup as rich text.
inline QString shownToolTip(const QString& tip) {
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

// The window on a fixture tree, with a sink that never waits and services that never ask: what
// the window tests drive. The threat table's model is checked for consistency all along.
class WindowDriver {
public:
    // `files`: the Mac tree the cleaner and the removal work in; null, the one under the root.
    // `ownDisk`: the fake processes run from the tree, as they would from the disk at "/".
    explicit WindowDriver(const MacFixture& mac, const FileSystem* files = nullptr,
                          QSize size = {860, 600}, bool ownDisk = false)
        : vc(options(mac, files, ownDisk)),
          modelTester(std::make_unique<QAbstractItemModelTester>(
              table()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest)) {
        vc.resize(size);
    }

    template <class T> T* get(const char* name) { return widget<T>(vc, name); }
    QString text(const char* label) { return get<QLabel>(label)->text(); }
    bool hidden(const char* box) { return get<QWidget>(box)->isHidden(); }
    QPushButton* button(const char* name) { return get<QPushButton>(name); }
    QTableView* table() { return get<QTableView>("tblThreatInfo"); }

    // Runs a scan through `start` to its end.
    void scan(void (ViewController::*start)() = &ViewController::startScan) {
        QSignalSpy done(&vc, &ViewController::scanFinished);
        (vc.*start)();
        if (done.isEmpty() && !done.wait(10000))
            qFatal("the scan did not end");
    }
    // The threat table's column as the model gives it.
    QStringList column(int c) {
        auto* model = table()->model();
        QStringList out;
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, c).data().toString();
        return out;
    }

    GuiFakes fakes;
    ViewController vc;

private:
    ViewController::Options options(const MacFixture& mac, const FileSystem* files, bool ownDisk) {
        auto services = fakes.services();
        services.files = files;
        services.ownDisk = ownDisk;
        return {mac.root(), mac.user(), /*pacing*/ 0.0, {}, services};
    }

    std::unique_ptr<QAbstractItemModelTester> modelTester;
};

} // namespace sentravex::test
