#pragma once

#include <optional>
#include <string>

namespace sentravex {

struct BookmarkData {
    std::optional<std::string> data; // none when it could not be made
    std::string error;
};

// Turns a granted folder into data that outlives the process, and that data back into access.
class Bookmarks {
public:
    virtual ~Bookmarks() = default;
    virtual BookmarkData bookmarkData(const std::string& folder) const = 0;
    // Whether the data still designates its folder and access to it is in force.
    virtual bool startAccessing(const std::string& data) const = 0;
};

} // namespace sentravex
