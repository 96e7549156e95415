#include "ChromeProfiles.h"

#include "JsonFile.h"
#include "platform/Account.h"
#include "platform/BoundedJson.h"
#include "platform/FileSystem.h"

#include <string_view>
#include <unordered_map>

namespace sentravex {
namespace {

// Folder names become path components: anything that could leave the Chrome folder is dropped.
bool isFolderName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// Follows "profile", "info_cache", each profile and its "name" through the text, keeping the
// profiles and nothing else. It answers as the whole file parsed would: a member given twice
// keeps its first place and its last value, so a profile given again is named afresh, and a
// step of the path given again starts the cache over.
class ProfileCacheReader : public BoundedJsonReader {
public:
    ProfileCacheReader() { kept_.reserve(mostChromeProfiles); } // the index points into it

    // The profiles, when the last value at the path is an object.
    std::vector<ChromeProfile> take() {
        std::vector<ChromeProfile> profiles;
        if (!found_)
            return profiles;
        profiles.reserve(kept_.size());
        for (auto& [folder, name] : kept_) {
            // A profile without a display name goes by its folder's name.
            std::string shown = name ? std::move(*name) : folder;
            profiles.push_back({std::move(folder), std::move(shown)});
        }
        return profiles;
    }

    bool key(string_t& name) override {
        const bool onPath = depth() == open_;
        next_ = naming_ = false;
        if (!onPath)
            return true;
        if (open_ == 1 || open_ == 2) {
            next_ = name == (open_ == 1 ? "profile" : "info_cache");
            if (next_)
                startOver();
        } else if (open_ == 3) {
            next_ = select(name);
        } else if (open_ == 4 && name == "name") {
            kept_[current_].name.reset();
            naming_ = true;
        }
        return true;
    }
    bool string(string_t& value) override {
        if (naming_)
            kept_[current_].name = std::move(value);
        return valueTaken();
    }
    bool start_object(std::size_t size) override {
        if (!BoundedJsonReader::start_object(size))
            return false;
        if (next_ && ++open_ == 3)
            found_ = true;
        return valueTaken();
    }
    bool end_object() override {
        if (depth() == open_)
            --open_;
        return BoundedJsonReader::end_object();
    }
    bool start_array(std::size_t size) override {
        return BoundedJsonReader::start_array(size) && valueTaken();
    }
    bool null() override { return valueTaken(); }
    bool boolean(bool /*value*/) override { return valueTaken(); }
    bool number_integer(number_integer_t /*value*/) override { return valueTaken(); }
    bool number_unsigned(number_unsigned_t /*value*/) override { return valueTaken(); }
    bool number_float(number_float_t /*value*/, const string_t& /*text*/) override {
        return valueTaken();
    }

private:
    struct Kept {
        std::string folder;
        std::optional<std::string> name;
    };

    bool valueTaken() {
        next_ = naming_ = false;
        return true;
    }
    void startOver() {
        index_.clear();
        kept_.clear();
        found_ = false;
    }
    // Makes the profile of a folder the one being read; false when it is not kept.
    bool select(std::string& folder) {
        if (auto known = index_.find(folder); known != index_.end()) {
            current_ = known->second;
        } else if (kept_.size() < mostChromeProfiles && isFolderName(folder)) {
            current_ = kept_.size();
            kept_.push_back({std::move(folder), std::nullopt});
            index_.emplace(kept_.back().folder, current_);
            return true;
        } else {
            return false;
        }
        kept_[current_].name.reset();
        return true;
    }

    std::vector<Kept> kept_; // in the file's order
    std::unordered_map<std::string_view, std::size_t> index_;
    std::size_t open_ = 0;    // levels of the path open: the root, profile, cache, a profile
    bool next_ = true;        // the value being started continues the path
    bool naming_ = false;     // the value being started is a kept profile's "name"
    std::size_t current_ = 0; // the kept profile whose value is being read
    bool found_ = false;      // the cache's last value so far is an object
};

} // namespace

std::string chromeFolder(const std::string& user) {
    return homeFolder(user) + "/Library/Application Support/Google/Chrome";
}

std::string chromeLocalStatePath(const std::string& user) {
    return chromeFolder(user) + "/Local State";
}

std::optional<std::vector<ChromeProfile>> readChromeProfiles(const FileSystem& fs,
                                                             const std::string& user) {
    auto data = fs.readFile(chromeLocalStatePath(user), largestStore);
    if (!data)
        return std::nullopt;
    ProfileCacheReader reader;
    const bool parsed = readBoundedJson(*data, reader);
    data.reset();
    if (!parsed)
        return std::vector<ChromeProfile>{};
    return reader.take();
}

const std::optional<std::vector<ChromeProfile>>& ChromeProfilesOnce::profiles() {
    if (!read_) {
        profiles_ = readChromeProfiles(fs_, user_);
        read_ = true;
    }
    return profiles_;
}

} // namespace sentravex
