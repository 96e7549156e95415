#pragma once

#include <QPixmap>
#include <string>

namespace sentravex {

// An icon's image, decoded from the bytes core chose for it, scaled into a square `side` pixels
// wide. Only the data's first image is decoded, and none that claims more than 2048 pixels on a
// side. Null when nothing decodes.
QPixmap iconPixmap(const std::string& bytes, int side);

} // namespace sentravex
