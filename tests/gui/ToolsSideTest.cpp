#include "CheckBox.h"
#include "CleanProgressDialog.h"
#include "ElidedLabel.h"
#include "FaultyFileSystem.h"
#include "GuiFakes.h"
#include "MacFixture.h"
#include "SelectionView.h"
#include "ToolsCell.h"
#include "ToolsSelectionCell.h"
#include "ViewController.h"
#include "WindowDriver.h"
#include "cleaner/Cleaner.h"
#include "demo/CleanerDemo.h"
#include "view/UnreadablePlaces.h"

#include <QBuffer>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace sentravex;
using sentravex::test::FaultyFileSystem;
using sentravex::test::GuiFakes;
using sentravex::test::MacFixture;
using S = CheckState;

namespace {

const QStringList allCategories = {"Safari", "Chrome", "Firefox", "Browser Extensions",
                                   "System", "Mail",   "Flash"};

// The window on a fixture tree, its cleaner optionally reading through another file system.
struct Window : test::WindowDriver {
    explicit Window(const MacFixture& mac, const FileSystem* files = nullptr, bool ownDisk = false)
        : WindowDriver(mac, files, {860, 640}, ownDisk),
          started(&vc, &ViewController::cleanerBuildStarted),
          done(&vc, &ViewController::cleanerBuildDone) {
        // Laid out and hit-testable like a shown window, but never painted: painting hands work
        // to the toolkit's own thread pool, which the thread sanitizer cannot follow.
        vc.setAttribute(Qt::WA_DontShowOnScreen);
        vc.show();
    }
    QTableWidget* toolsTable() { return get<QTableWidget>("toolsTable"); }
    QTableWidget* selectionTable() { return get<QTableWidget>("selectionTable"); }
    QPushButton* removeButton() { return get<QPushButton>("removeButton"); }

    // Shows the tools side and lets the build run to its end.
    void build() {
        vc.showToolsView();
        waitForBuild();
    }
    void waitForBuild() {
        if (vc.isScanRunningForDetails() && !done.wait(20000))
            qFatal("the build did not end");
    }
    int row(const std::string& name) {
        for (std::size_t i = 0; i < vc.availbleApp().size(); ++i)
            if (vc.availbleApp()[i].Name == name)
                return static_cast<int>(i);
        qFatal("no category %s", name.c_str());
    }
    const CleanerCategory& category(const std::string& name) {
        return vc.availbleApp()[static_cast<std::size_t>(row(name))];
    }
    ToolsCell* cell(const std::string& name) {
        return qobject_cast<ToolsCell*>(toolsTable()->cellWidget(row(name), 0));
    }
    ToolsSelectionCell* item(int r) {
        return qobject_cast<ToolsSelectionCell*>(selectionTable()->cellWidget(r, 0));
    }
    int itemRow(const std::string& nameText) {
        const auto& list = vc.toolsSelectedDic()->List;
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].NameText == nameText)
                return static_cast<int>(i);
        qFatal("no item %s", nameText.c_str());
    }
    void clickItem(const std::string& nameText) { item(itemRow(nameText))->checkBox->click(); }
    void open(const std::string& name) { cell(name)->detailsButton->click(); }
    void close() { get<QPushButton>("btnSelectionDone")->click(); }
    QSignalSpy started;
    QSignalSpy done;
};

bool present(const MacFixture& mac, const std::string& logical) {
    std::error_code ec;
    return std::filesystem::symlink_status(mac.host(logical), ec).type() !=
           std::filesystem::file_type::not_found;
}

// The paths of a category's rows that are there now.
std::vector<std::string> presentPaths(const MacFixture& mac, const CleanerCategory& category) {
    std::vector<std::string> paths;
    for (const auto& item : category.List)
        for (const auto& path : item.AllList)
            if (present(mac, path))
                paths.push_back(path);
    return paths;
}

// The demo home: every category, extensions of every browser.
void writeDemo(const MacFixture& mac) {
    if (!writeDemoFiles(mac.root(), mac.user(), cleanerDemoFiles()))
        qFatal("the demo tree could not be written");
}

} // namespace

class ToolsSideTest : public QObject {
    Q_OBJECT
private slots:
    void buildListsTheCategoriesInOrderWithTheirSizes();
    void buildWithNoApplicationsKeepsExtensionsAndSystem();
    void categoryIconsComeFromTheBundles();
    void iconFilesThatStallOrFloodStayOutOfTheWindow();
    void showingTheToolsSideTwiceStartsOneBuildAndKeepsChecks();
    void categoryCheckBoxChecksEveryItem();
    void overlayShowsItemsAndSwallowsInput();
    void groupedPropagation();
    void equalDetailRowsAreCheckedOneByOne();
    void namesShowAsPlainTextEverywhere();
    void closingTheOverlayDerivesTheCategoryState();
    void mixedCategoryAloneEnablesRemove();
    void cleanDeletesExactlyTheCheckedPathsAndRebuilds();
    void cleanReportsWhatCouldNotBeRemoved();
    void cleanIsRefusedWhileABuildRuns();
    void cleanCountsAndStopsWhenAsked();
    void aRunningBrowserIsQuitOrCleanedAnywayOrLeftAlone();
    void closingDuringABuildEndsItsWait();
    void closingDuringASizeWalkEndsTheBuild();
};

void ToolsSideTest::buildListsTheCategoriesInOrderWithTheirSizes() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.vc.showToolsView();
    // The build waits for the main thread at its first category: nothing is listed yet.
    QVERIFY(w.toolsTable()->isHidden());
    QCOMPARE(w.toolsTable()->height(), 91);
    QVERIFY(!w.get<QWidget>("scannignIndicator")->isHidden());
    QVERIFY(!w.removeButton()->isEnabled());
    w.waitForBuild();

    QStringList names;
    for (const auto& c : w.vc.availbleApp())
        names << QString::fromStdString(c.Name);
    QCOMPARE(names, allCategories);
    const auto fs = mac.fileSystem();
    const auto expected = Cleaner(fs, mac.user()).availbleApp();
    QCOMPARE(w.toolsTable()->rowCount(), 7);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto* cell = qobject_cast<ToolsCell*>(w.toolsTable()->cellWidget(int(i), 0));
        QVERIFY(cell);
        QCOMPARE(cell->nameText->text().toStdString(), expected[i].Name);
        QCOMPARE(cell->sizeText->text().toStdString(), expected[i].Size);
        QCOMPARE(w.vc.availbleApp()[i].bytes, expected[i].bytes);
        QVERIFY(!cell->imageIcon->pixmap().isNull());
    }
    QVERIFY(w.category("Safari").bytes.value_or(0) > 0);
    QCOMPARE(w.cell("Chrome")->detailsText->text(),
             QString("Cookies, Visited Links, History, Login Data, LastSession, User "
                     "preferences, Favicons, Top Sites, Local Storage"));
    QCOMPARE(w.cell("Browser Extensions")->detailsText->text(),
             QString("Browser extensions, Preferences"));
    QVERIFY(w.cell("Safari")->detailsText->text().startsWith("Cookies, Browser Caches, History"));
    QVERIFY(!w.toolsTable()->isHidden());
    QCOMPARE(w.toolsTable()->height(), 389);
    QVERIFY(w.get<QWidget>("scannignIndicator")->isHidden());
    QVERIFY(w.vc.scanningDone());
    QVERIFY(!w.removeButton()->isEnabled());
}

void ToolsSideTest::buildWithNoApplicationsKeepsExtensionsAndSystem() {
    MacFixture mac;
    mac.fileOfSize(mac.home("/Library/Caches/big"), 50000);
    Window w(mac);
    w.build();
    QCOMPARE(w.vc.availbleApp().size(), std::size_t(2));
    QCOMPARE(w.vc.availbleApp()[0].Name, std::string("Browser Extensions"));
    QCOMPARE(w.vc.availbleApp()[1].Name, std::string("System"));
    QCOMPARE(w.toolsTable()->height(), 165);
    QVERIFY(w.category("System").bytes.value_or(0) >= 50000);
    QVERIFY(w.cell("System")->checkBox->isEnabled());
}

std::string bigEndian(std::size_t n) {
    return {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
}

std::string pngOf(const QColor& color, int side) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toStdString();
}

std::string icnsEntry(const char* type, const std::string& png) {
    return type + bigEndian(8 + png.size()) + png;
}

std::string icns(const std::string& entries) {
    return "icns" + bigEndian(8 + entries.size()) + entries;
}

// An .icns holding one PNG image, as the image-format plugin reads it.
std::string icnsOf(const QColor& color) {
    return icns(icnsEntry("ic07", pngOf(color, 64)));
}

long peakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void ToolsSideTest::categoryIconsComeFromTheBundles() {
    MacFixture mac;
    mac.folder(mac.home());
    // Safari names its icon without the extension; Mail names one that is not there.
    mac.file("/Applications/Safari.app/Contents/Info.plist",
             "<plist><dict><key>CFBundleIconFile</key>\n\t<string>compass</string></dict></plist>")
        .file("/Applications/Safari.app/Contents/Resources/compass.icns", icnsOf(Qt::red))
        .file("/Applications/Mail.app/Contents/Info.plist",
              "<plist><dict><key>CFBundleIconFile</key><string>Mail.icns</string></dict></plist>");
    Window w(mac);
    w.build();
    auto shown = [&](const char* name) { return w.cell(name)->imageIcon->pixmap().toImage(); };
    const QImage safari = shown("Safari");
    QCOMPARE(safari.pixelColor(safari.rect().center()), QColor(Qt::red));
    const auto generic = QIcon(":/images/app_generic.png").pixmap(40, 40).toImage();
    QCOMPARE(shown("Mail"), generic);
    QCOMPARE(shown("Browser Extensions"),
             QIcon(":/images/Browser_ext.png").pixmap(40, 40).toImage());
    QVERIFY(shown("System") != generic);
    QVERIFY(!shown("System").isNull());
}

void ToolsSideTest::iconFilesThatStallOrFloodStayOutOfTheWindow() {
    MacFixture mac;
    mac.folder(mac.home());
    // Safari's icon: a megabyte of full-size entries, each a 4 MB image once decoded, around the
    // one entry near the size shown.
    const std::string large = pngOf(Qt::blue, 1024);
    std::string entries = icnsEntry("icp4", pngOf(Qt::yellow, 16));
    while (entries.size() < (1u << 20))
        entries += icnsEntry("ic10", large);
    entries += icnsEntry("icp6", pngOf(Qt::green, 64));
    mac.file("/Applications/Safari.app/Contents/Info.plist",
             "<plist><dict><key>CFBundleIconFile</key><string>compass</string></dict></plist>")
        .file("/Applications/Safari.app/Contents/Resources/compass.icns", icns(entries))
        .file("/Applications/Firefox.app/Contents/Info.plist",
              "<plist><dict><key>CFBundleIconFile</key><string>firefox</string></dict></plist>")
        .folder("/Applications/Firefox.app/Contents/Resources")
        .folder("/Applications/Mail.app/Contents");
    // Pipes that no one writes to, where Mail's Info.plist and Firefox's icon belong.
    for (const char* pipe : {"/Applications/Mail.app/Contents/Info.plist",
                             "/Applications/Firefox.app/Contents/Resources/firefox.icns"})
        QCOMPARE(::mkfifo(mac.host(pipe).c_str(), 0644), 0);

    const long before = peakKilobytes();
    Window w(mac);
    w.build();
    auto shown = [&](const char* name) { return w.cell(name)->imageIcon->pixmap().toImage(); };
    const QImage safari = shown("Safari");
    QCOMPARE(safari.pixelColor(safari.rect().center()), QColor(Qt::green));
    const auto generic = QIcon(":/images/app_generic.png").pixmap(40, 40).toImage();
    QCOMPARE(shown("Mail"), generic);
    QCOMPARE(shown("Firefox"), generic);
    // Decoding every entry at full size took more than half a gigabyte.
    QVERIFY2(peakKilobytes() - before < 128 * 1024,
             qPrintable(QString::number(peakKilobytes() - before) + " KiB"));
}

void ToolsSideTest::showingTheToolsSideTwiceStartsOneBuildAndKeepsChecks() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.vc.showToolsView();
    w.vc.showToolsView(); // the first build is still waiting at its first hand-off
    QCOMPARE(w.started.count(), 1);
    w.waitForBuild();
    QCOMPARE(w.vc.availbleApp().size(), std::size_t(7));

    w.cell("Mail")->checkBox->click();
    w.vc.showMainView();
    w.vc.showToolsView();
    QCOMPARE(w.started.count(), 1);
    QVERIFY(w.vc.scanningDone());
    QCOMPARE(w.category("Mail").isChecked, S::On);
    QCOMPARE(w.cell("Mail")->checkBox->checkState(), Qt::Checked);
    QVERIFY(w.removeButton()->isEnabled());
}

void ToolsSideTest::categoryCheckBoxChecksEveryItem() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.build();
    // An empty item's own check box is disabled; the category's check takes it along.
    const auto& chrome = w.category("Chrome");
    QVERIFY(std::any_of(chrome.List.begin(), chrome.List.end(),
                        [](const CleanerItem& i) { return i.isEnabled == false; }));
    w.cell("Chrome")->checkBox->click();
    for (const auto& item : w.category("Chrome").List)
        QCOMPARE(item.isChecked, S::On);
    QCOMPARE(w.category("Chrome").isChecked, S::On);
    QVERIFY(w.removeButton()->isEnabled());

    w.cell("Chrome")->checkBox->click();
    for (const auto& item : w.category("Chrome").List)
        QCOMPARE(item.isChecked, S::Off);
    QVERIFY(!w.removeButton()->isEnabled());

    // A mixed box that is clicked turns on, and with it every item.
    w.open("Safari");
    w.clickItem("History");
    w.close();
    QCOMPARE(w.cell("Safari")->checkBox->checkState(), Qt::PartiallyChecked);
    w.cell("Safari")->checkBox->click();
    QCOMPARE(w.cell("Safari")->checkBox->checkState(), Qt::Checked);
    for (const auto& item : w.category("Safari").List)
        QCOMPARE(item.isChecked, S::On);
    // The operation itself, given a mixed sender.
    w.vc.checkBoxAction(w.row("Mail"), S::Mixed);
    QCOMPARE(w.category("Mail").isChecked, S::On);
}

void ToolsSideTest::overlayShowsItemsAndSwallowsInput() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.build();
    auto* overlay = w.get<SelectionView>("selectionView");
    QVERIFY(overlay->isHidden());

    w.open("Chrome");
    QVERIFY(!overlay->isHidden());
    QCOMPARE(overlay->geometry(), w.vc.rect());
    QCOMPARE(overlay->table.data(), w.selectionTable());
    const auto& chrome = *w.vc.toolsSelectedDic();
    QCOMPARE(chrome.Name, std::string("Chrome"));
    QCOMPARE(w.selectionTable()->rowCount(), int(chrome.List.size()));
    QCOMPARE(w.selectionTable()->verticalHeader()->defaultSectionSize(), 50);
    QVERIFY(w.selectionTable()->alternatingRowColors());
    QCOMPARE(w.selectionTable()->height(), 4 * 50 + 2);
    QCOMPARE(w.item(0)->nameText->text().toStdString(), chrome.List[0].NameText);
    QCOMPARE(w.item(0)->sizeText->text().toStdString(), chrome.List[0].sizeText);
    QVERIFY(!w.item(0)->nameText->font().bold());

    // What lies under the overlay is out of reach of the pointer and the wheel.
    auto* box = w.cell("Safari")->checkBox;
    const QPoint over = box->mapTo(&w.vc, box->rect().center());
    QWidget* hit = w.vc.childAt(over);
    QVERIFY(hit == overlay || overlay->isAncestorOf(hit));
    QTest::mouseClick(overlay, Qt::LeftButton, {}, overlay->mapFrom(&w.vc, over));
    QCOMPARE(w.category("Safari").isChecked, S::Off);
    auto* scroll = w.toolsTable()->verticalScrollBar();
    const int before = scroll->value();
    QWheelEvent wheel(QPointF(5, 5), overlay->mapToGlobal(QPointF(5, 5)), {}, {0, -240},
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QVERIFY(QApplication::sendEvent(overlay, &wheel));
    QVERIFY(wheel.isAccepted());
    QCOMPARE(scroll->value(), before);

    w.close();
    QVERIFY(overlay->isHidden());
    QVERIFY(!w.vc.toolsSelectedDic());
}

void ToolsSideTest::groupedPropagation() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.build();
    w.open("Browser Extensions");
    QCOMPARE(w.selectionTable()->verticalHeader()->defaultSectionSize(), 36);
    QVERIFY(!w.selectionTable()->alternatingRowColors());
    const auto& list = w.vc.toolsSelectedDic()->List;
    QCOMPARE(w.selectionTable()->height(), int(std::min<std::size_t>(list.size(), 6)) * 36 + 2);

    // The groups as the demo writes them: a heading, its members, the next heading... The one
    // under test has two members or more and another group follows it.
    std::vector<int> all;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!list[i].isHeader)
            all.push_back(int(i));
    std::vector<int> headings;
    for (std::size_t g = 0; g + 1 < all.size() && headings.empty(); ++g)
        if (all[g + 1] - all[g] >= 3)
            headings = {all[g], all[g + 1]};
    QCOMPARE(headings.size(), std::size_t(2));
    QVERIFY(w.item(headings[0])->nameText->font().bold());
    QVERIFY(w.item(headings[0])->backBox->property("band").toBool());
    QVERIFY(!w.item(headings[0] + 1)->backBox->property("band").toBool());
    const auto heading = list[std::size_t(headings[0])].NameText;
    const auto first = list[std::size_t(headings[0] + 1)].NameText;

    auto stateOf = [&](int r) { return w.vc.toolsSelectedDic()->List[std::size_t(r)].isChecked; };
    w.clickItem(heading);
    for (int r = headings[0]; r < headings[1]; ++r)
        QCOMPARE(stateOf(r), S::On);
    for (int r = 0; r < int(list.size()); ++r)
        if (r < headings[0] || r >= headings[1])
            QCOMPARE(stateOf(r), S::Off);

    w.clickItem(first);
    QCOMPARE(stateOf(headings[0]), S::Mixed);
    QCOMPARE(w.item(headings[0])->checkBox->checkState(), Qt::PartiallyChecked);
    for (int r = headings[0] + 2; r < headings[1]; ++r)
        w.clickItem(list[std::size_t(r)].NameText);
    QCOMPARE(stateOf(headings[0]), S::Off);
    w.clickItem(first);
    QCOMPARE(stateOf(headings[0]), S::Mixed);
    for (int r = headings[0] + 2; r < headings[1]; ++r)
        w.clickItem(list[std::size_t(r)].NameText);
    QCOMPARE(stateOf(headings[0]), S::On);
    // The category keeps its state while the overlay is open.
    QCOMPARE(w.category("Browser Extensions").isChecked, S::Off);
}

// The same add-on in two Firefox profiles: two rows of one name, each checked on its own.
void ToolsSideTest::equalDetailRowsAreCheckedOneByOne() {
    MacFixture mac;
    mac.folder("/Applications/Firefox.app");
    for (const char* profile : {"a1.default-release", "b2.work"}) {
        const std::string folder =
            mac.home(std::string("/Library/Application Support/Firefox/Profiles/") + profile);
        mac.file(folder + "/extensions/same.xpi", "x")
            .file(folder + "/extensions.json",
                  R"({"addons":[{"version":"1","defaultLocale":{"name":"Same"},"path":")" + folder +
                      R"(/extensions/same.xpi"}]})");
    }
    Window w(mac);
    w.build();
    w.open("Browser Extensions");
    const auto& list = w.vc.toolsSelectedDic()->List;
    std::vector<int> rows;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].NameText == "Same v1")
            rows.push_back(static_cast<int>(i));
    QCOMPARE(rows.size(), std::size_t(2));
    QCOMPARE(rows[0] + 1, rows[1]);
    const int heading = rows[0] - 1;

    w.item(rows[1])->checkBox->click();
    QCOMPARE(list[std::size_t(rows[0])].isChecked, S::Off);
    QCOMPARE(list[std::size_t(rows[1])].isChecked, S::On);
    QCOMPARE(w.item(rows[0])->checkBox->state(), S::Off);
    QCOMPARE(w.item(rows[1])->checkBox->state(), S::On);
    QCOMPARE(w.item(heading)->checkBox->state(), S::Mixed);

    w.item(rows[0])->checkBox->click();
    QCOMPARE(w.item(heading)->checkBox->state(), S::On);
}

namespace {

// Where a name shows: a label whose text it is (and that must show it as plain text), a widget
// whose tooltip shows this text.
struct NamePlace {
    const char* what;
    QLabel* label;
    QString text;
    QWidget* tipped;
    QString tip;
};

void expectPlain(const std::vector<NamePlace>& places) {
    for (const auto& p : places) {
        if (p.label) {
            QVERIFY2(p.label->textFormat() == Qt::PlainText, p.what);
            QVERIFY2(p.label->text() == p.text, p.what);
        }
        if (p.tipped) {
            const QString shown = test::shownToolTip(p.tipped->toolTip());
            QVERIFY2(shown == p.tip, qPrintable(QString("%1: %2").arg(p.what, shown)));
        }
    }
}

} // namespace

// Names from disk and manifests, in labels and tooltips, show as they are and load nothing: a
// Chrome extension named as markup, in the home of a user named so, with Safari's folder held
// back so that its places, markup in their paths, are listed.
void ToolsSideTest::namesShowAsPlainTextEverywhere() {
    const std::string markup = test::markupName.toStdString();
    MacFixture mac("eve" + markup);
    const std::string chrome = mac.home("/Library/Application Support/Google/Chrome");
    mac.folder("/Applications/Safari.app")
        .file(mac.home("/Library/Safari/History.db"), "h")
        .file(mac.home("/Library/Caches/com.apple.Safari/c"), "c") // readable: Safari opens
        .folder("/Applications/Google Chrome.app")
        .file(chrome + "/Local State", R"({"profile":{"info_cache":{"Default":{"name":"P"}}}})")
        .file(chrome + "/Default/Extensions/id/1_0/manifest.json",
              nlohmann::json{{"name", markup}, {"version", "1"}}.dump());
    const auto local = mac.fileSystem();
    FaultyFileSystem faulty(local);
    faulty.denied[mac.home("/Library/Safari")] = EPERM;
    Window w(mac, &faulty);
    w.build();
    auto* title = w.get<QLabel>("lblSelectionTitle");
    auto tipOf = [](const std::vector<std::string>& unreadable) {
        return QString::fromStdString(unreadableTip(unreadable));
    };

    auto* safari = w.cell("Safari");
    const auto safariTip = tipOf(w.category("Safari").unreadable);
    QVERIFY(safariTip.contains(test::markupName));
    expectPlain({{"category name", safari->nameText, "Safari", safari->nameText, "Safari"},
                 {"category size", safari->sizeText, safari->sizeText->text(), safari->sizeText,
                  safariTip}});

    w.open("Safari");
    QVERIFY(w.vc.toolsSelectedDic());
    const auto& items = w.vc.toolsSelectedDic()->List;
    const auto held = std::find_if(items.begin(), items.end(),
                                   [](const CleanerItem& i) { return !i.unreadable.empty(); });
    QVERIFY(held != items.end());
    auto* heldRow = w.item(static_cast<int>(held - items.begin()));
    expectPlain({{"item size", heldRow->sizeText, heldRow->sizeText->text(), heldRow->sizeText,
                  tipOf(held->unreadable)},
                 {"details title", title, "Safari", nullptr, {}}});
    w.close();

    w.open("Browser Extensions");
    QVERIFY(w.vc.toolsSelectedDic());
    const auto& extensions = w.vc.toolsSelectedDic()->List;
    const auto named =
        std::find_if(extensions.begin(), extensions.end(),
                     [&](const CleanerItem& i) { return i.NameText.rfind(markup, 0) == 0; });
    QVERIFY(named != extensions.end());
    const auto name = QString::fromStdString(named->NameText);
    auto* row = w.item(static_cast<int>(named - extensions.begin()));
    expectPlain({{"extension name", row->nameText, name, row->nameText, name},
                 {"extension check box", nullptr, {}, row->checkBox, name}});
}

void ToolsSideTest::closingTheOverlayDerivesTheCategoryState() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.build();
    const auto& flat = w.category("Safari").List;
    const std::string a = flat[0].NameText;

    struct Case {
        const char* what;
        std::function<void()> pick;
        S expected;
    };
    const std::string ext = "Browser Extensions";
    std::vector<Case> cases = {
        {"none", [] {}, S::Off},
        {"some", [&] { w.clickItem(a); }, S::Mixed},
        {"all",
         [&] {
             const auto& items = w.vc.toolsSelectedDic()->List;
             for (std::size_t i = 0; i < items.size(); ++i)
                 if (items[i].isChecked != S::On)
                     w.vc.selectionCheckBoxAction(static_cast<int>(i), S::On);
         },
         S::On},
    };
    for (const auto& c : cases) {
        w.vc.checkBoxAction(w.row("Safari"), S::Off);
        w.open("Safari");
        c.pick();
        w.close();
        QVERIFY2(w.category("Safari").isChecked == c.expected, c.what);
    }

    // A mixed heading among checked rows leaves the category mixed.
    w.vc.checkBoxAction(w.row(ext), S::On);
    w.open(ext);
    const auto& list = w.vc.toolsSelectedDic()->List;
    std::string member;
    for (std::size_t i = 1; i + 1 < list.size() && member.empty(); ++i)
        if (list[i].isHeader && !list[i - 1].isHeader && list[i + 1].isHeader)
            member = list[i].NameText; // the first member of a group of two or more
    w.clickItem(member);               // its heading goes mixed; every other row stays checked
    std::size_t mixed = 0;
    for (const auto& item : w.vc.toolsSelectedDic()->List)
        mixed += item.isChecked == S::Mixed;
    QCOMPARE(mixed, std::size_t(1));
    w.close();
    QCOMPARE(w.category(ext).isChecked, S::Mixed);
}

void ToolsSideTest::mixedCategoryAloneEnablesRemove() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.build();
    QVERIFY(!w.removeButton()->isEnabled());
    w.open("Firefox");
    w.clickItem(w.vc.toolsSelectedDic()->List[0].NameText);
    QVERIFY(!w.removeButton()->isEnabled()); // the category is brought up to date on closing
    w.close();
    QCOMPARE(w.category("Firefox").isChecked, S::Mixed);
    for (const auto& c : w.vc.availbleApp())
        if (c.Name != "Firefox")
            QCOMPARE(c.isChecked, S::Off);
    QVERIFY(w.removeButton()->isEnabled());
}

void ToolsSideTest::cleanDeletesExactlyTheCheckedPathsAndRebuilds() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.build();
    w.cell("Mail")->checkBox->click();
    w.open("Safari");
    w.clickItem("History");
    w.close();

    std::vector<std::string> checked, unchecked;
    for (const auto& c : w.vc.availbleApp())
        for (const auto& item : c.List)
            for (const auto& path : item.AllList)
                (item.isChecked == S::On ? checked : unchecked).push_back(path);
    std::erase_if(checked, [&](const std::string& p) { return !present(mac, p); });
    std::erase_if(unchecked, [&](const std::string& p) { return !present(mac, p); });
    QVERIFY(!checked.empty());
    // Paths listed under both (a folder and a file inside it) belong to the checked side.
    std::erase_if(unchecked, [&](const std::string& p) {
        return std::any_of(checked.begin(), checked.end(), [&](const std::string& c) {
            return p == c || p.rfind(c + "/", 0) == 0 || c.rfind(p + "/", 0) == 0;
        });
    });

    w.removeButton()->click();
    for (const auto& p : checked)
        QVERIFY2(!present(mac, p), p.c_str());
    for (const auto& p : unchecked)
        QVERIFY2(present(mac, p), p.c_str());
    QCOMPARE(w.fakes.alerts.modal.size(), std::size_t(1));
    QCOMPARE(w.fakes.alerts.modal[0].messageText, std::string("Alert"));
    QCOMPARE(w.fakes.alerts.modal[0].informativeText,
             std::string("You have successfully cleared selected data."));

    // A fresh build follows, with nothing checked and the sizes after the deletion.
    QCOMPARE(w.started.count(), 2);
    QVERIFY(!w.removeButton()->isEnabled());
    w.waitForBuild();
    QCOMPARE(w.vc.availbleApp().size(), std::size_t(7));
    QCOMPARE(w.category("Mail").Size, std::string("0 byte"));
    QCOMPARE(w.category("Mail").isChecked, S::Off);
    QVERIFY(!w.removeButton()->isEnabled());

    // Nothing checked: nothing goes, the alert still comes, and the list is built again.
    w.removeButton()->setEnabled(true);
    w.removeButton()->click();
    QCOMPARE(w.fakes.alerts.modal.size(), std::size_t(2));
    QCOMPARE(w.fakes.alerts.modal[1].informativeText,
             std::string("You have successfully cleared selected data."));
    QCOMPARE(w.started.count(), 3);
    w.waitForBuild();
    for (const auto& p : unchecked)
        QVERIFY2(present(mac, p), p.c_str());
}

void ToolsSideTest::cleanReportsWhatCouldNotBeRemoved() {
    MacFixture mac("demo");
    writeDemo(mac);
    const auto local = mac.fileSystem();
    FaultyFileSystem faulty(local);
    Window w(mac, &faulty);
    w.build();
    w.cell("Mail")->checkBox->click();
    const auto paths = presentPaths(mac, w.category("Mail"));
    QVERIFY(paths.size() >= 2);
    faulty.undeletable.insert(paths[0]);

    w.removeButton()->click();
    QCOMPARE(w.fakes.alerts.modal.size(), std::size_t(1));
    QCOMPARE(w.fakes.alerts.modal[0].informativeText,
             std::string("1 path could not be removed; the rest of the selected data was "
                         "cleared."));
    // "Show Details" names it, with the reason.
    QCOMPARE(w.fakes.alerts.modal[0].details, paths[0] + "  (Operation not permitted)");
    QVERIFY(!w.fakes.alerts.modal[0].detailsShown);
    QVERIFY(present(mac, paths[0]));
    for (std::size_t i = 1; i < paths.size(); ++i)
        QVERIFY2(!present(mac, paths[i]), paths[i].c_str());
    QCOMPARE(w.started.count(), 2);
    w.waitForBuild();
}

void ToolsSideTest::cleanIsRefusedWhileABuildRuns() {
    MacFixture mac("demo");
    writeDemo(mac);
    Window w(mac);
    w.build();
    w.cell("Mail")->checkBox->click();
    w.removeButton()->click(); // cleans and starts the next build
    QVERIFY(w.vc.isScanRunningForDetails());
    QVERIFY(!w.removeButton()->isEnabled());
    w.vc.cleanAndReloadData();
    QCOMPARE(w.fakes.alerts.modal.size(), std::size_t(1));
    QCOMPARE(w.started.count(), 2);
    w.waitForBuild();
    QCOMPARE(w.vc.availbleApp().size(), std::size_t(7));
}

void ToolsSideTest::cleanCountsAndStopsWhenAsked() {
    MacFixture mac("demo");
    writeDemo(mac);
    const auto local = mac.fileSystem();
    FaultyFileSystem faulty(local);
    Window w(mac, &faulty);
    w.build();
    w.cell("Chrome")->checkBox->click();
    w.cell("Mail")->checkBox->click();
    const auto chrome = presentPaths(mac, w.category("Chrome"));
    const auto mail = presentPaths(mac, w.category("Mail"));
    QVERIFY(!chrome.empty() && mail.size() >= 2);
    // Mail's first path would never end on its own: only the Cancel button ends it.
    faulty.endless.insert(mail[0]);

    QString label;
    auto connection =
        connect(&w.vc, &ViewController::cleanProgressShown, this, [&](quint64 entries) {
            if (entries < 100 || !label.isEmpty())
                return;
            auto* dialog = w.vc.window()->findChild<CleanProgressDialog*>();
            QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
            label = dialog->text();
            dialog->cancelButton()->click();
        });
    w.removeButton()->click();
    disconnect(connection);

    QVERIFY(label.startsWith("Removing the selected data…\n"));
    QVERIFY2(label.contains(" entries, ") && label.endsWith(" removed"), qPrintable(label));
    QCOMPARE(w.fakes.alerts.modal.size(), std::size_t(1));
    const auto& alert = w.fakes.alerts.modal[0];
    QVERIFY2(alert.informativeText.starts_with("Cleaning stopped: ") &&
                 alert.informativeText.ends_with(
                     " were removed; the rest of the selected data is still there."),
             alert.informativeText.c_str());
    QVERIFY(alert.details.empty());
    // What came before the stop is gone, what comes after it is left.
    for (const auto& p : chrome)
        QVERIFY2(!present(mac, p), p.c_str());
    for (const auto& p : mail)
        QVERIFY2(present(mac, p), p.c_str());
    QCOMPARE(w.started.count(), 2);
    w.waitForBuild();
}

void ToolsSideTest::aRunningBrowserIsQuitOrCleanedAnywayOrLeftAlone() {
    const std::string stays = "Google Chrome did not quit, so its data was not cleaned.";
    struct Case {
        const char* what;
        bool ownDisk;
        long answer; // to the question about Chrome
        bool chromeQuits;
        bool chromeCleaned;
        bool safariCleaned;
        std::vector<long> quitRequests;
        std::string result; // after "You have successfully cleared selected data."
    };
    const Case cases[] = {
        {"Cancel", true, kAlertFirstButtonReturn + 2, false, false, false, {}, ""},
        {"Clean Anyway", true, kAlertSecondButtonReturn, false, true, true, {}, ""},
        {"Quit and Clean, it quits", true, kAlertFirstButtonReturn, true, true, true, {101}, ""},
        {"Quit and Clean, it stays",
         true,
         kAlertFirstButtonReturn,
         false,
         false,
         true,
         {101},
         " " + stays},
        {"another disk: nothing is asked", false, 0, false, true, true, {}, ""},
    };
    for (const auto& c : cases) {
        MacFixture mac("demo");
        writeDemo(mac);
        Window w(mac, nullptr, c.ownDisk);
        auto& processes = w.fakes.processes.with("chrome"); // pid 101
        if (c.chromeQuits)
            processes.onQuit = [&processes](const RunningProcess& p) {
                std::erase_if(processes.processes,
                              [&p](const RunningProcess& r) { return r.pid == p.pid; });
            };
        w.build();
        w.cell("Chrome")->checkBox->click();
        w.cell("Safari")->checkBox->click();
        const auto chrome = presentPaths(mac, w.category("Chrome"));
        const auto safari = presentPaths(mac, w.category("Safari"));
        QVERIFY(!chrome.empty() && !safari.empty());
        if (c.answer)
            w.fakes.alerts.answers.push_back(c.answer);

        w.removeButton()->click();
        auto& alerts = w.fakes.alerts.modal;
        if (c.ownDisk) {
            QVERIFY2(!alerts.empty(), c.what);
            QCOMPARE(alerts[0].messageText,
                     std::string("Google Chrome is running. Quit it before cleaning, or it may "
                                 "write back what is deleted."));
            QCOMPARE(alerts[0].buttons,
                     (std::vector<std::string>{"Quit and Clean", "Clean Anyway", "Cancel"}));
        }
        const bool cancelled = c.answer == kAlertFirstButtonReturn + 2;
        QCOMPARE(alerts.size(), std::size_t(cancelled ? 1 : c.ownDisk ? 2 : 1));
        if (!cancelled)
            QCOMPARE(alerts.back().informativeText,
                     "You have successfully cleared selected data." + c.result);
        QCOMPARE(w.fakes.processes.quitRequests, c.quitRequests);
        for (const auto& p : chrome)
            QVERIFY2(present(mac, p) != c.chromeCleaned, (c.what + (" " + p)).c_str());
        for (const auto& p : safari)
            QVERIFY2(present(mac, p) != c.safariCleaned, (c.what + (" " + p)).c_str());
        QCOMPARE(w.started.count(), cancelled ? 1 : 2);
        if (cancelled)
            QVERIFY2(w.removeButton()->isEnabled(), "the checks stay for another try");
        w.waitForBuild();
    }
}

void ToolsSideTest::closingDuringABuildEndsItsWait() {
    MacFixture mac("demo");
    writeDemo(mac);
    for (int closeAfter = 0; closeAfter < 3; ++closeAfter) {
        Window w(mac);
        w.vc.showToolsView();
        // Let a few categories through, then close while the build waits for the window.
        for (int i = 0; i < closeAfter; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QVERIFY(true); // the window went away without waiting for a hand-off that never comes
}

namespace {

// A size walk that does not end by itself (within half a minute, once) and tells when it has
// begun.
class EndlessWalk : public FaultyFileSystem {
public:
    using FaultyFileSystem::FaultyFileSystem;
    SizeResult allocatedSize(const std::string&, const KeepWalking& keepWalking,
                             LinkedFiles*) const override {
        if (ranOut)
            return {};
        walking = true;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!keepWalking || keepWalking())
            if (std::chrono::steady_clock::now() > giveUp) {
                ranOut = true;
                break;
            }
        return {};
    }
    mutable std::atomic<bool> walking{false};
    mutable std::atomic<bool> ranOut{false};
};

} // namespace

void ToolsSideTest::closingDuringASizeWalkEndsTheBuild() {
    MacFixture mac("demo");
    writeDemo(mac);
    const auto local = mac.fileSystem();
    EndlessWalk endless(local);
    {
        Window w(mac, &endless);
        w.vc.showToolsView();
        QTRY_VERIFY_WITH_TIMEOUT(endless.walking, 20000);
    } // the window goes as on Quit, while Safari's first item is being sized
    QVERIFY(!endless.ranOut);
}

QTEST_MAIN(ToolsSideTest)
#include "ToolsSideTest.moc"
