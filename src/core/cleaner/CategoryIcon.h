#pragma once

#include <optional>
#include <string>

namespace sentravex {

class FileSystem;
struct CleanerCategory;

// Where the window takes a category's icon from.
struct CategoryIcon {
    // What stands in when there is no image, or it does not decode.
    enum class Fallback { ProgramImage, FolderIcon };

    // The bytes to decode for the size shown (see iconImageForSide); none where there are none.
    std::optional<std::string> image;
    Fallback fallback = Fallback::ProgramImage;
    std::string programImage; // the name of one of the program's own images, for ProgramImage
};

// A category named after one of the program's own images shows that image. One of a bundle shows
// the icon its bundle names, else the system's folder icon for "System" and the generic
// application image for the others.
CategoryIcon iconForCategory(const FileSystem& fs, const CleanerCategory& category, int side);

} // namespace sentravex
