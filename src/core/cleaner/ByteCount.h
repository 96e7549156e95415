#pragma once

#include <cstdint>
#include <string>

namespace sentravex {

// A byte count in decimal units (1 KB = 1000 bytes) as the size columns show it; "0 byte" for zero.
std::string byteCountText(std::int64_t bytes);

} // namespace sentravex
