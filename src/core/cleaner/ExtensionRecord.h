#pragma once

#include <cstdint>
#include <string>

namespace sentravex {

// One installed Chrome extension or Firefox add-on.
struct ExtensionRecord {
    std::string urlExt; // Chrome: the extension's id folder; Firefox: the add-on's location
    std::string verExt;
    std::string nameExt;
    std::int64_t sizeExt = 0;
    std::string PersonExt; // the Chrome profile's display name; "Default" for Firefox
};

} // namespace sentravex
