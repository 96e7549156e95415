#include "Cleaner.h"

#include "ByteCount.h"
#include "ChromeProfiles.h"
#include "CleanerTables.h"
#include "ExtensionScan.h"
#include "FirefoxProfiles.h"
#include "access/FullDiskAccess.h"
#include "platform/Account.h"
#include "platform/FileSystem.h"
#include "scan/QuorvaneScan.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace sentravex {
namespace {

using tables::Base;
using tables::ItemRow;

std::string lastComponent(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

std::string withoutExtension(const std::string& name) {
    auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string filled(std::string_view format, const std::string& value) {
    std::string text(format);
    if (auto at = text.find("%@"); at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

// The paths of a table row under the folder its base names.
Cleaner::Urls rowPaths(const ItemRow& row, const std::string& base) {
    Cleaner::Urls paths;
    for (auto relative : row.paths)
        if (!relative.empty())
            paths.push_back(base + "/" + std::string(relative));
    return paths;
}

} // namespace

std::string Cleaner::homeUrl() const {
    return homeFolder(user_);
}

CleanerItem Cleaner::getDicForList(Urls list, std::string name, bool isExt) {
    CleanerItem item;
    item.isHeader = !list.empty();
    item.AllList = std::move(list);
    item.NameText = std::move(name);
    item.isExt = isExt;
    return item;
}

SizeResult Cleaner::fileSizeOf(const std::string& url, LinkedFiles* counted) const {
    if (!stop_)
        return fs_.allocatedSize(url, {}, counted);
    return fs_.allocatedSize(
        url, [this] { return !stopped(); }, counted);
}

bool Cleaner::refused(const std::string& url) const {
    return isRefusal(fs_.readError(url));
}

std::int64_t Cleaner::countSize(std::vector<CleanerItem>& items) const {
    std::int64_t total = 0;
    LinkedFiles inTotal;
    for (auto& item : items) {
        std::int64_t size = 0;
        LinkedFiles inRow;
        item.unreadable.clear();
        for (const auto& folder : item.listedFrom)
            if (!stopped() && refused(folder))
                item.unreadable.push_back(folder);
        for (const auto& url : item.AllList) {
            if (stopped())
                break;
            const auto sized = fileSizeOf(url, &inRow);
            // A size that leaves something out must not pass for the whole.
            if (!sized.whole && !stopped())
                item.unreadable.push_back(url);
            size += sized.bytes;
        }
        item.bytes = size;
        item.sizeText = byteCountText(size);
        item.isEnabled = size != 0;
        total += size - inRow.mergeInto(inTotal);
    }
    return total;
}

CleanerCategory Cleaner::finishCategory(std::string name, std::vector<CleanerItem> list,
                                        std::string img) const {
    CleanerCategory category;
    category.Name = std::move(name);
    category.Img = std::move(img);
    category.isEnabled = true;
    if (sizing_) {
        std::int64_t total = countSize(list);
        std::set<std::string> seen;
        for (const auto& item : list)
            for (const auto& place : item.unreadable)
                if (seen.insert(place).second)
                    category.unreadable.push_back(place);
        category.bytes = total;
        category.Size = byteCountText(total);
        category.isEnabled = total != 0;
    }
    category.List = std::move(list);
    return category;
}

std::optional<CleanerCategory> Cleaner::addSafariDetails() const {
    if (!fs_.exists(std::string(tables::safariBundle)))
        return std::nullopt;
    const std::string safari = homeUrl() + "/Library/Safari";
    const std::string container = homeUrl() + "/" + std::string(tables::safariContainer);
    std::vector<CleanerItem> list;
    list.reserve(tables::safariItems.size());
    for (const auto& row : tables::safariItems) {
        auto paths = rowPaths(row, row.base == Base::Home ? homeUrl() : safari);
        for (auto relative : row.containerPaths)
            if (!relative.empty())
                paths.push_back(container + "/" + std::string(relative));
        list.push_back(getDicForList(std::move(paths), std::string(row.NameText), false));
    }
    return finishCategory("Safari", std::move(list), std::string(tables::safariBundle));
}

std::optional<CleanerCategory> Cleaner::addGoogleChromeDetails() const {
    ChromeProfilesOnce chromeProfiles(fs_, user_);
    return addGoogleChromeDetails(chromeProfiles);
}

std::optional<CleanerCategory>
Cleaner::addGoogleChromeDetails(ChromeProfilesOnce& chromeProfiles) const {
    if (!fs_.exists(std::string(tables::chromeBundle)))
        return std::nullopt;
    const auto& profiles = chromeProfiles.profiles();
    if (!profiles)
        return std::nullopt;
    const std::string chrome = chromeFolder(user_);
    std::vector<CleanerItem> list;
    Urls caches;
    for (const auto& profile : *profiles) {
        const std::string folder = chrome + "/" + profile.folder;
        for (const auto& row : tables::chromeProfileItems)
            list.push_back(
                getDicForList(rowPaths(row, folder), filled(row.NameText, profile.name), false));
        for (auto cache : tables::chromeProfileCaches)
            caches.push_back(folder + "/" + cache);
    }
    caches.push_back(homeUrl() + "/" + std::string(tables::chromeCaches));
    list.push_back(getDicForList(std::move(caches), "Browser Caches", false));
    return finishCategory("Chrome", std::move(list), std::string(tables::chromeBundle));
}

std::optional<std::string> Cleaner::chosenFirefoxProfile() const {
    if (auto profile = firefoxDefaultProfile(fs_, user_))
        return profile;
    for (const auto& entry :
         QuorvaneScan::getUrlListAt(fs_, ExtensionScan::firefoxProfilesFolder(user_)))
        if (lastComponent(entry).find("default") != std::string::npos)
            return entry;
    return std::nullopt;
}

std::optional<CleanerCategory> Cleaner::addMozilaFirefoxDetails() const {
    if (!fs_.exists(std::string(tables::firefoxBundle)))
        return std::nullopt;
    std::vector<CleanerItem> list;
    if (auto profile = chosenFirefoxProfile())
        for (const auto& row : tables::firefoxItems)
            list.push_back(
                getDicForList(rowPaths(row, row.base == Base::Home ? homeUrl() : *profile),
                              std::string(row.NameText), false));
    return finishCategory("Firefox", std::move(list), std::string(tables::firefoxBundle));
}

CleanerCategory Cleaner::addBrowserExtensionsDetails() const {
    ChromeProfilesOnce chromeProfiles(fs_, user_);
    return addBrowserExtensionsDetails(chromeProfiles);
}

CleanerCategory Cleaner::addBrowserExtensionsDetails(ChromeProfilesOnce& chromeProfiles) const {
    std::vector<CleanerItem> list;
    Urls preferences;
    auto appendGroup = [&list](const char* heading, std::vector<CleanerItem>& group) {
        if (!group.empty()) {
            list.push_back(getDicForList({}, heading, true));
            list.insert(list.end(), group.begin(), group.end());
        }
        group.clear();
    };
    std::vector<CleanerItem> group;

    if (fs_.exists(std::string(tables::safariBundle))) {
        preferences.push_back(homeUrl() + "/Library/Safari/Configurations.plist.signed");
        for (const auto& entry : ExtensionScan::getSafariExtantionList(fs_, user_)) {
            std::string name = lastComponent(entry);
            if (name == "Extensions.plist" || name == ".DS_Store")
                continue;
            group.push_back(getDicForList({entry}, withoutExtension(name), true));
        }
        appendGroup("Safari Extensions", group);
    }
    if (!stopped() && fs_.exists(std::string(tables::chromeBundle))) {
        const auto& profiles = chromeProfiles.profiles();
        for (const auto& record : ExtensionScan::getChromeExtantionList(
                 fs_, user_, profiles ? *profiles : std::vector<ChromeProfile>{}, stop_))
            if (!stopped() && fs_.exists(record.urlExt))
                group.push_back(getDicForList(
                    {record.urlExt},
                    record.nameExt + " v" + record.verExt + " (" + record.PersonExt + ")", true));
        appendGroup("Google Chrome Extensions", group);
        if (profiles && !stopped())
            for (const auto& profile : *profiles)
                preferences.push_back(chromeFolder(user_) + "/" + profile.folder + "/Preferences");
    }
    if (!stopped() && fs_.exists(std::string(tables::firefoxBundle))) {
        for (const auto& record : ExtensionScan::getFirefoxExtantionList(fs_, user_, stop_))
            if (!stopped() && fs_.exists(record.urlExt))
                group.push_back(
                    getDicForList({record.urlExt}, record.nameExt + " v" + record.verExt, true));
        appendGroup("Firefox Extensions", group);
        if (auto profile = chosenFirefoxProfile())
            for (auto file : tables::firefoxPreferenceFiles)
                preferences.push_back(*profile + "/" + file);
    }

    CleanerItem reset;
    reset.AllList = std::move(preferences);
    reset.NameText = "Reset Browsers Preferences to Defaults";
    reset.isExt = true;
    reset.isHeader = false;
    list.push_back(std::move(reset));
    for (auto& row : list) {
        row.isEnabled = true;
        row.sizeText.clear();
    }

    CleanerCategory category;
    category.Name = "Browser Extensions";
    category.List = std::move(list);
    category.Img = std::string(tables::browserExtensionsImage);
    category.isEnabled = true;
    category.isFromAdware = true;
    return category;
}

std::string Cleaner::trashFolder() const {
    return homeUrl() + "/.Trash";
}

CleanerCategory Cleaner::addSystemDetails() const {
    const std::string containers = homeUrl() + "/Library/Containers";
    // A row made of what some folders list keeps their names, so that a refusal there shows.
    auto listedRow = [](Urls paths, const char* name, Urls listedFrom) {
        auto item = getDicForList(std::move(paths), name, false);
        item.listedFrom = std::move(listedFrom);
        return item;
    };
    auto insideContainers = [&](const char* folder, const char* name) {
        Urls paths;
        Urls listed{containers};
        for (const auto& container : QuorvaneScan::getUrlListAt(fs_, containers)) {
            if (stopped())
                break;
            if (lastComponent(container) == ".DS_Store")
                continue;
            listed.push_back(container + folder);
            auto entries = QuorvaneScan::getUrlListAt(fs_, listed.back());
            paths.insert(paths.end(), entries.begin(), entries.end());
        }
        return listedRow(std::move(paths), name, std::move(listed));
    };
    Urls downloadsLog;
    const std::string preferences = homeUrl() + "/Library/Preferences";
    const std::string quarantine = lowered("com.apple.LaunchServices.QuarantineEventsV");
    for (const auto& entry : QuorvaneScan::getUrlListAt(fs_, preferences))
        if (lowered(lastComponent(entry)).find(quarantine) != std::string::npos)
            downloadsLog.push_back(entry);

    std::vector<CleanerItem> list;
    list.push_back(getDicForList({homeUrl() + "/Library/Caches"}, "System Cache Files", false));
    list.push_back(insideContainers("/Data/Library/Caches", "Applications Cache Files"));
    list.push_back(getDicForList({homeUrl() + "/Library/Logs"}, "System Log Files", false));
    list.push_back(insideContainers("/Data/Library/Logs", "Applications Log Files"));
    list.push_back(listedRow(std::move(downloadsLog), "System Downloads Log", {preferences}));
    list.push_back(
        listedRow(QuorvaneScan::getUrlListAt(fs_, trashFolder()), "Trash Files", {trashFolder()}));
    return finishCategory("System", std::move(list), std::string(tables::finderBundle));
}

std::optional<CleanerCategory>
Cleaner::homeTableCategory(std::string name, std::span<const std::string_view> bundles,
                           std::span<const tables::ItemRow> rows) const {
    const auto bundle = std::find_if(bundles.begin(), bundles.end(), [this](std::string_view b) {
        return fs_.exists(std::string(b));
    });
    if (bundle == bundles.end())
        return std::nullopt;
    std::vector<CleanerItem> list;
    for (const auto& row : rows)
        list.push_back(getDicForList(rowPaths(row, homeUrl()), std::string(row.NameText), false));
    return finishCategory(std::move(name), std::move(list), std::string(*bundle));
}

std::optional<CleanerCategory> Cleaner::addMailAppDetails() const {
    return homeTableCategory("Mail", tables::mailBundles, tables::mailItems);
}

std::optional<CleanerCategory> Cleaner::addAdobeFlashDetails() const {
    return homeTableCategory("Flash", {&tables::flashBundle, 1}, tables::flashItems);
}

void Cleaner::scanInBG(const HandOff& handOff) const {
    // Both Chrome collectors list its profiles: "Local State" is read once for the build.
    ChromeProfilesOnce chromeProfiles(fs_, user_);
    using Collector = std::function<std::optional<CleanerCategory>()>;
    const Collector collectors[] = {
        [this] { return addSafariDetails(); },
        [this, &chromeProfiles] { return addGoogleChromeDetails(chromeProfiles); },
        [this] { return addMozilaFirefoxDetails(); },
        [this, &chromeProfiles] { return addBrowserExtensionsDetails(chromeProfiles); },
        [this] { return addSystemDetails(); },
        [this] { return addMailAppDetails(); },
        [this] { return addAdobeFlashDetails(); },
    };
    for (const auto& collect : collectors) {
        auto category = collect();
        // A category cut short by a stop is not handed on: its sizes and rows are partial.
        if (stopped())
            return;
        handOff(std::move(category));
    }
}

std::vector<CleanerCategory> Cleaner::availbleApp() const {
    std::vector<CleanerCategory> categories;
    scanInBG([&categories](std::optional<CleanerCategory> category) {
        if (category)
            categories.push_back(std::move(*category));
    });
    return categories;
}

CleanReport Cleaner::cleanSelected(const std::vector<CleanerCategory>& categories, bool apply,
                                   const CleanProgress& progress) const {
    CleanReport report;
    Urls paths;
    for (const auto& category : categories)
        for (const auto& item : category.List)
            if (item.isChecked == CheckState::On) {
                report.selected.push_back({category.Name, item.NameText, item.AllList});
                paths.insert(paths.end(), item.AllList.begin(), item.AllList.end());
            }

    // A path selected twice, or inside another selected folder, goes with the first or with
    // that folder: counting it again would overstate the bytes. It lies inside only when the
    // folder and every folder between are real folders: a link is removed itself and takes
    // nothing along.
    const std::set<std::string> all(paths.begin(), paths.end());
    std::set<std::string> seen;
    auto realFolder = [this](const std::string& path) {
        return fs_.isDirectory(path) && !fs_.isLink(path);
    };
    auto covered = [&](const std::string& path) {
        std::vector<std::string> between; // the folders up to the nearest selected one
        for (auto slash = path.find_last_of('/'); slash != std::string::npos && slash > 0;
             slash = path.find_last_of('/', slash - 1)) {
            between.push_back(path.substr(0, slash));
            if (all.count(between.back()))
                return std::all_of(between.begin(), between.end(), realFolder);
        }
        return false;
    };
    // Links go last, so that a selected path behind one is still reached through it.
    std::stable_partition(paths.begin(), paths.end(),
                          [this](const std::string& path) { return !fs_.isLink(path); });

    LinkedFiles sized; // the dry run counts each file once, however many links it meets
    CleanTally tally;
    const RemoveProgress removed = [&tally, &progress](std::int64_t bytes) {
        ++tally.entries;
        tally.bytes += bytes;
        return !progress || progress(tally);
    };
    for (const auto& path : paths) {
        if (report.cancelled)
            break;
        if (!seen.insert(path).second || covered(path))
            continue;
        // The dry run walks the same road, asking only what a removal would meet.
        RemoveResult result;
        bool unread = false;
        if (apply) {
            result = fs_.removeItem(path, removed);
            report.cancelled = result.stopped;
            unread = !result.ok() && refused(path);
        } else {
            // A path behind a folder that refuses to be read sizes as not whole, there or not.
            const auto size = fileSizeOf(path, &sized);
            result.existed = fs_.exists(path);
            result.bytes = result.existed ? size.bytes : 0;
            unread = !size.whole;
        }
        if (unread)
            report.unreadable.push_back(path);
        if (!result.existed)
            continue;
        report.bytes += result.bytes;
        if (!result.ok())
            report.failed.push_back({path, result.error});
        else if (!result.stopped)
            report.deleted.push_back(path);
    }
    report.entries = tally.entries;
    return report;
}

} // namespace sentravex
