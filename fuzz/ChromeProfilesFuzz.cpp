// Chrome's "Local State": the profile cache whose folder names become paths.
#include "MemoryFileSystem.h"
#include "cleaner/ChromeProfiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sentravex::fuzz::MemoryFileSystem fs;
    fs.files[sentravex::chromeLocalStatePath("f")] =
        std::string(reinterpret_cast<const char*>(data), size);
    auto profiles = sentravex::readChromeProfiles(fs, "f");
    if (!profiles)
        std::abort(); // the file is there, so there is an answer
    for (const auto& p : *profiles)
        if (p.folder.empty() || p.folder == "." || p.folder == ".." ||
            p.folder.find('/') != std::string::npos)
            std::abort(); // a folder name that could leave the Chrome folder
    return 0;
}
