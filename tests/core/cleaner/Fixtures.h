#pragma once

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

} // namespace sentravex::test
