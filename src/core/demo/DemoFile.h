#pragma once

#include <span>
#include <string>
#include <string_view>

namespace sentravex {

// One file of a demo tree.
struct DemoFile {
    std::string_view path;    // "~" stands for the user's home folder
    std::string_view content; // "{home}" stands for the home folder's logical path
};

// Writes the files under a host folder, making their folders. False when one could not be
// written.
bool writeDemoFiles(const std::string& hostFolder, const std::string& user,
                    std::span<const DemoFile> files);

} // namespace sentravex
