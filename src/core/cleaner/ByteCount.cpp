#include "ByteCount.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace sentravex {

std::string byteCountText(std::int64_t bytes) {
    if (bytes == 0)
        return "0 byte";
    if (bytes == 1)
        return "1 byte";
    if (bytes < 1000 && bytes > -1000)
        return std::to_string(bytes) + " bytes";
    // Kilobytes whole, megabytes with one decimal, larger units with two.
    constexpr std::array units{"KB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1000;
    std::size_t unit = 0;
    auto rounded = [&] {
        double scale = unit == 0 ? 1 : unit == 1 ? 10 : 100;
        return std::round(value * scale) / scale;
    };
    while (unit + 1 < units.size() && std::fabs(rounded()) >= 1000) {
        value /= 1000;
        ++unit;
    }
    char number[32];
    std::snprintf(number, sizeof number, "%.*f", unit == 0 ? 0 : unit == 1 ? 1 : 2, rounded());
    std::string text = number;
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text + " " + units[unit];
}

} // namespace sentravex
