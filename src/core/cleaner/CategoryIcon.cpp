#include "CategoryIcon.h"

#include "CleanerCategory.h"
#include "platform/BundleIcon.h"
#include "platform/IcnsFile.h"

namespace sentravex {
namespace {

// Stands in for a bundle that names no icon the window can show.
constexpr const char* genericApplicationImage = "app_generic";

} // namespace

CategoryIcon iconForCategory(const FileSystem& fs, const CleanerCategory& category, int side) {
    CategoryIcon icon;
    if (!category.Img.starts_with('/')) {
        icon.programImage = category.Img;
        return icon;
    }
    if (auto file = bundleIcon(fs, category.Img))
        icon.image = iconImageForSide(file->bytes, side);
    if (category.Name == "System")
        icon.fallback = CategoryIcon::Fallback::FolderIcon;
    else
        icon.programImage = genericApplicationImage;
    return icon;
}

} // namespace sentravex
