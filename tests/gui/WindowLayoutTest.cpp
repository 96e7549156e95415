#include "CheckBox.h"
#include "CustomWindow.h"
#include "ElidedLabel.h"
#include "FaultyFileSystem.h"
#include "GuiFakes.h"
#include "MacFixture.h"
#include "SelectionView.h"
#include "ToolsCell.h"
#include "ViewController.h"
#include "WindowDriver.h"
#include "demo/DemoTree.h"
#include "removal/PrivilegedPaths.h"
#include "removal/QuorvaneScripts.h"

#include <QAbstractScrollArea>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

using namespace sentravex;
using sentravex::test::FaultyFileSystem;
using sentravex::test::GuiFakes;
using sentravex::test::MacFixture;

namespace {

// The real window around the controller, on a demo tree whose "Quorvane Backups" cannot be
// removed, so that a removal leaves a row behind.
struct Window {
    explicit Window(const MacFixture& mac) : local(mac.fileSystem()), faulty(local) {
        if (!writeDemoTree(mac.root(), mac.user()))
            qFatal("the demo tree could not be written");
        faulty.undeletable.insert(mac.home("/Documents/Quorvane Backups"));
        auto services = fakes.services();
        services.files = &faulty;
        fakes.removeProtectedPathsOn(local, mac.root());
        vc = new ViewController({mac.root(), mac.user(), /*pacing*/ 0.0, {}, services});
        window.setContentView(vc);
    }

    template <class T> T* get(const char* name) { return test::widget<T>(*vc, name); }
    // Lays everything out as the event loop would, leaving every other event queued.
    void settle() {
        for (int pass = 0; pass < 8; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    void scan() {
        QSignalSpy done(vc, &ViewController::scanFinished);
        vc->startScan();
        if (done.isEmpty() && !done.wait(10000))
            qFatal("the scan did not end");
    }
    void build() {
        QSignalSpy done(vc, &ViewController::cleanerBuildDone);
        vc->showToolsView();
        if (vc->isScanRunningForDetails() && !done.wait(20000))
            qFatal("the build did not end");
    }
    void openDetails(int row) {
        auto* table = get<QTableWidget>("toolsTable");
        qobject_cast<ToolsCell*>(table->cellWidget(row, 0))->detailsButton->click();
    }

    LocalFileSystem local;
    FaultyFileSystem faulty;
    GuiFakes fakes;
    CustomWindow window;
    ViewController* vc;
};

QString nameOf(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

// Every visible control of the layout that overlaps a sibling, leaves its parent or is squeezed
// below its least height. Rows inside a table scroll there: each row is checked on its own. The
// overlay lies over everything on purpose; what is inside it is checked.
void collectFaults(QWidget* parent, QStringList& faults) {
    QList<QWidget*> kids;
    for (auto* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible() && !child->isWindow() && !child->objectName().isEmpty() &&
            !child->objectName().startsWith("qt_"))
            kids << child;
    for (auto* child : kids) {
        const QString name = nameOf(child);
        if (!parent->rect().contains(child->geometry()))
            faults << name + " leaves " + nameOf(parent);
        if (child->height() < std::min(child->minimumSizeHint().height(), child->maximumHeight()))
            faults << name + " squeezed";
        if (auto* table = qobject_cast<QTableWidget*>(child)) {
            for (int r = 0; r < table->rowCount(); ++r)
                if (auto* cell = table->cellWidget(r, 0))
                    collectFaults(cell, faults);
        } else if (!qobject_cast<QAbstractScrollArea*>(child)) {
            collectFaults(child, faults);
        }
    }
    kids.removeIf([](QWidget* w) { return qobject_cast<SelectionView*>(w); });
    for (int i = 0; i < kids.size(); ++i)
        for (int j = i + 1; j < kids.size(); ++j)
            if (kids[i]->geometry().intersects(kids[j]->geometry()))
                faults << nameOf(kids[i]) + " overlaps " + nameOf(kids[j]);
}

QStringList layoutFaults(QWidget* top) {
    QStringList faults;
    collectFaults(top, faults);
    return faults;
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void everyStateFitsTheSmallestWindow();
    void overlayCoversTheWholeWindow();
    void keyboardReachesAndClosesTheOverlay();
    void disabledCheckBoxesLookDisabled();
    void longTextsAreCutInTheMiddle();
    void theClockCountsInDigitsOfOneWidth();
};

void WindowLayoutTest::everyStateFitsTheSmallestWindow() {
    MacFixture mac("demo");
    Window w(mac);
    w.window.show();
    w.window.resize(w.window.minimumSize());
    QCOMPARE(w.window.size(), QSize(720, 520));
    QCOMPARE(w.vc->geometry(), w.window.rect());

    struct State {
        const char* name;
        std::function<void()> enter;
    };
    const State states[] = {
        {"idle", [] {}},
        {"scanning", [&] { w.vc->startScan(); }}, // looked at before the scan's end arrives
        {"scan result", [&] { w.scan(); }},
        {"removal result", [&] { w.get<QPushButton>("btnCleanAll")->click(); }},
        {"tools side building", [&] { w.vc->showToolsView(); }},
        {"tools side built", [&] { w.build(); }},
        {"Chrome items", [&] { w.openDetails(1); }},
        {"extensions",
         [&] {
             w.vc->doneActionFromselectionView();
             w.openDetails(3);
         }},
    };
    for (const auto& state : states) {
        state.enter();
        w.settle();
        const auto faults = layoutFaults(&w.window);
        QVERIFY2(faults.isEmpty(), qPrintable(QString(state.name) + ": " + faults.join("; ")));
    }
    QVERIFY(!w.get<QWidget>("btnShowDetails")->isHidden());
    QVERIFY(w.get<QWidget>("toolsTable")->height() < 389); // it gave way, and scrolls

    // Text on the result box's green and red is large and bold.
    for (const char* name : {"scanQuorvaneInfo", "btnCleanAll"}) {
        const QFont font = w.get<QWidget>(name)->font();
        QVERIFY2(font.bold() && font.pixelSize() >= 19, name);
    }
}

void WindowLayoutTest::overlayCoversTheWholeWindow() {
    MacFixture mac("demo");
    Window w(mac);
    w.window.show();
    w.window.resize(900, 640);
    w.build();
    w.openDetails(0);
    auto* overlay = w.get<SelectionView>("selectionView");
    QVERIFY(overlay->isVisible());
    const QRect covered(overlay->mapTo(&w.window, QPoint(0, 0)), overlay->size());
    QCOMPARE(covered, w.window.rect());
    // The bottom edge too, where the resize grip sits.
    const QPoint corner(w.window.width() - 20, w.window.height() - 3);
    QWidget* hit = w.window.childAt(corner);
    QVERIFY(hit == overlay || overlay->isAncestorOf(hit));

    w.window.resize(760, 560); // and it follows the window
    QCOMPARE(overlay->size(), w.window.size());
}

void WindowLayoutTest::keyboardReachesAndClosesTheOverlay() {
    MacFixture mac("demo");
    Window w(mac);
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.build();
    auto* overlay = w.get<SelectionView>("selectionView");
    auto* list = w.get<QTableWidget>("selectionTable");
    for (const auto key : {Qt::Key_Escape, Qt::Key_Return}) {
        w.openDetails(3);
        QVERIFY(overlay->isVisible());
        // Tab goes round the overlay's own controls and never beneath it.
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(overlay->isAncestorOf(QApplication::focusWidget()));
        }
        QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY2(overlay->isHidden(), key == Qt::Key_Escape ? "Escape" : "Return");
    }

    // Each opening starts at the first row, wherever the last list was left.
    w.openDetails(3);
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    QVERIFY(list->verticalScrollBar()->value() > 0);
    w.vc->doneActionFromselectionView();
    w.openDetails(3);
    QCOMPARE(list->verticalScrollBar()->value(), 0);
}

void WindowLayoutTest::disabledCheckBoxesLookDisabled() {
    CheckBox box;
    box.resize(24, 24);
    auto look = [&](bool enabled, CheckState state) {
        box.setEnabled(enabled);
        box.setState(state);
        return box.grab().toImage();
    };
    for (const auto state : {CheckState::Off, CheckState::On, CheckState::Mixed})
        QVERIFY(look(true, state) != look(false, state));
    QVERIFY(look(true, CheckState::Off) != look(true, CheckState::On));
    QVERIFY(look(true, CheckState::On) != look(true, CheckState::Mixed));
}

void WindowLayoutTest::longTextsAreCutInTheMiddle() {
    const QString name = "Reset Browsers Preferences to Defaults of a very long extension name "
                         "that ends here";
    ElidedLabel label(Qt::ElideMiddle);
    label.setFullText(name);
    label.resize(200, 20);
    QCOMPARE(label.text(), name);
    QCOMPARE(test::shownToolTip(label.toolTip()), name);
    const QString shown = label.shownText();
    QVERIFY(shown.startsWith("Reset") && shown.endsWith("here") && shown.contains(u'…'));
    QVERIFY(label.minimumSizeHint().width() < 50); // it never widens its row
    label.resize(2000, 20);
    QCOMPARE(label.shownText(), name);
}

// The elapsed-time clock keeps its place as it counts: its font is of fixed pitch wherever the
// window runs (DejaVu Sans Mono on Linux, Menlo on macOS).
void WindowLayoutTest::theClockCountsInDigitsOfOneWidth() {
    MacFixture mac("demo");
    Window w(mac);
    auto* clock = w.get<QLabel>("lblScanTime");
    clock->ensurePolished();
    QVERIFY(QFontInfo(clock->font()).fixedPitch());
}

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
