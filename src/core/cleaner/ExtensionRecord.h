#pragma once

#include <string>

namespace sentravex {

// One installed Chrome extension or Firefox add-on. It carries no size: no row shows one, and
// sizing would walk the extension's folder once per record.
struct ExtensionRecord {
    std::string urlExt; // Chrome: the extension's id folder; Firefox: the add-on's location
    std::string verExt;
    std::string nameExt;
    std::string PersonExt; // the Chrome profile's display name; "Default" for Firefox
};

} // namespace sentravex
