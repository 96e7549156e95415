#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace sentravex {

class FileSystem;

// Far above any real one; a bundle is anyone's to write.
inline constexpr std::size_t largestInfoPlist = 1u << 20;
inline constexpr std::size_t largestIconFile = 8u << 20;

// The icon file an application bundle names: its logical path and its contents.
struct BundleIcon {
    std::string path;
    std::string bytes;
};

// The file that "CFBundleIconFile" of the bundle's Contents/Info.plist names in
// Contents/Resources (".icns" added to a name without an extension). Both files are read through
// the file system's confined reads: regular files only, never waiting on one, and none larger
// than its cap. None when the bundle names no icon, names one outside its resources, or either
// file cannot be read.
std::optional<BundleIcon> bundleIcon(const FileSystem& fs, const std::string& bundle);

} // namespace sentravex
