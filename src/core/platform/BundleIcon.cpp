#include "BundleIcon.h"

#include "FileSystem.h"
#include "PropertyList.h"

namespace sentravex {

std::optional<BundleIcon> bundleIcon(const FileSystem& fs, const std::string& bundle) {
    auto plist = fs.readFile(bundle + "/Contents/Info.plist", largestInfoPlist);
    if (!plist)
        return std::nullopt;
    auto name = propertyListString(*plist, "CFBundleIconFile");
    if (!name || name->empty() || *name == "." || *name == ".." ||
        name->find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        return std::nullopt;
    if (name->find('.') == std::string::npos)
        *name += ".icns";
    BundleIcon icon{bundle + "/Contents/Resources/" + *name, {}};
    auto bytes = fs.readFile(icon.path, largestIconFile);
    if (!bytes)
        return std::nullopt;
    icon.bytes = std::move(*bytes);
    return icon;
}

} // namespace sentravex
