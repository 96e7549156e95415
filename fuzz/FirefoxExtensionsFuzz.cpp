// Firefox's extensions.json: add-ons whose paths are listed and, when selected, deleted.
#include "MemoryFileSystem.h"
#include "cleaner/ExtensionScan.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using sentravex::ExtensionScan;
    const std::string profiles = ExtensionScan::firefoxProfilesFolder("f");
    sentravex::fuzz::MemoryFileSystem fs;
    fs.files[profiles + "/x.default/extensions.json"] =
        std::string(reinterpret_cast<const char*>(data), size);
    fs.files[profiles + "/x.default/extensions/addon@example.xpi"] = "PK";
    for (const auto& record : ExtensionScan::getFirefoxExtantionList(fs, "f")) {
        // Only what lies inside a profile is listed, with no step that climbs out of it.
        const std::string& path = record.urlExt;
        if (!path.starts_with(profiles + "/") || path.find("/../") != std::string::npos ||
            path.ends_with("/..") || path.find("/./") != std::string::npos)
            std::abort();
    }
    return 0;
}
