#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sentravex {

// The part of an icon file to decode for an image shown `side` pixels wide. An .icns holds one
// image per size, each large one decoding to megabytes: the answer is its entry nearest the size
// from above (or its largest), alone. A modern entry comes as the image file it holds (PNG or
// JPEG 2000); a legacy one as an .icns of that entry and its mask. Any other file comes back
// unchanged. None when an .icns holds no entry of a known size.
std::optional<std::string> iconImageForSide(std::string_view file, int side);

} // namespace sentravex
