#pragma once

#include "cleaner/JsonFile.h"

#include <fstream>
#include <sstream>
#include <string>

namespace sentravex::test {

// A file the browsers wrote, kept under tests/fixtures.
inline std::string realFile(const std::string& relative) {
    std::ifstream in(std::string(SENTRAVEX_FIXTURES) + "/" + relative, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// One add-on's entry of the extensions.json Firefox wrote; null when it has none of that id.
inline Json realFirefoxAddOn(const std::string& id) {
    Json found;
    if (auto store = parseJsonObject(realFile("firefox/extensions.json")))
        for (const auto& a : (*store)["addons"])
            if (a["id"] == id)
                found = a;
    return found;
}

} // namespace sentravex::test
