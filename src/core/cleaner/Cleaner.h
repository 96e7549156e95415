#pragma once

#include "CleanReport.h"
#include "CleanerCategory.h"
#include "StopFlag.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sentravex {

namespace tables {
struct ItemRow;
}

class ChromeProfilesOnce;
class FileSystem;

// Builds the cleaner's categories from what the browsers, Mail, Flash and the system left in a
// user's home, and deletes the checked items.
class Cleaner {
public:
    using Urls = std::vector<std::string>;
    // Receives each collector's category, or nothing when its application is absent.
    using HandOff = std::function<void(std::optional<CleanerCategory>)>;

    // Without sizing the categories carry names and paths only (enough to pick and delete).
    // Once `stop` is asked for, the collectors end at their next entry, path or step of a size
    // walk and hand on what they have made so far; the build hands on nothing more.
    Cleaner(const FileSystem& fs, std::string user, bool sizing = true,
            const StopFlag* stop = nullptr)
        : fs_(fs), user_(std::move(user)), sizing_(sizing), stop_(stop) {}

    const FileSystem& fileSystem() const { return fs_; }

    std::string homeUrl() const;
    static CleanerItem getDicForList(Urls list, std::string name, bool isExt);
    // Sizes every item, writing its size text, enabled flag and the places that could not be
    // read whole; returns the total. A file with several links counts once in a row, and once in
    // the total.
    std::int64_t countSize(std::vector<CleanerItem>& items) const;
    // Files with several links already in `counted` add nothing.
    SizeResult fileSizeOf(const std::string& url, LinkedFiles* counted = nullptr) const;
    // Sizes the items and makes the finished category.
    CleanerCategory finishCategory(std::string name, std::vector<CleanerItem> list,
                                   std::string img) const;

    std::optional<CleanerCategory> addSafariDetails() const;
    std::optional<CleanerCategory> addGoogleChromeDetails() const;
    std::optional<CleanerCategory> addMozilaFirefoxDetails() const;
    CleanerCategory addBrowserExtensionsDetails() const;
    // The same two with the Chrome profiles of the build, which reads them once for both.
    std::optional<CleanerCategory> addGoogleChromeDetails(ChromeProfilesOnce& chromeProfiles) const;
    CleanerCategory addBrowserExtensionsDetails(ChromeProfilesOnce& chromeProfiles) const;
    CleanerCategory addSystemDetails() const;
    std::optional<CleanerCategory> addMailAppDetails() const;
    std::optional<CleanerCategory> addAdobeFlashDetails() const;

    // Runs the seven collectors in order, handing each result on as soon as it is made, until a
    // stop is asked for.
    void scanInBG(const HandOff& handOff) const;
    // The whole category list, in collector order.
    std::vector<CleanerCategory> availbleApp() const;

    // Deletes every path of every checked item (or, without `apply`, reports what would go).
    // A path already absent is passed over; what cannot be removed is reported. `progress` hears
    // of every entry removed and may stop the clean after it.
    CleanReport cleanSelected(const std::vector<CleanerCategory>& categories, bool apply,
                              const CleanProgress& progress = {}) const;

    // The chosen Firefox profile folder: the one Firefox itself starts with, as its profiles.ini
    // or installs.ini names it; without one, the first in the profiles folder whose name holds
    // "default".
    std::optional<std::string> chosenFirefoxProfile() const;
    std::string trashFolder() const;

private:
    // A category whose items all lie in the home folder, present when one of its bundles is
    // (the first found gives the icon).
    std::optional<CleanerCategory> homeTableCategory(std::string name,
                                                     std::span<const std::string_view> bundles,
                                                     std::span<const tables::ItemRow> rows) const;

    bool stopped() const { return stopRequested(stop_); }
    // Whether a place refuses to be read (a privacy rule or its permissions).
    bool refused(const std::string& url) const;

    const FileSystem& fs_;
    std::string user_;
    bool sizing_;
    const StopFlag* stop_;
};

} // namespace sentravex
