// A Chrome extension's manifest with its locale messages and the "__MSG_" name resolution. The
// input is the manifest, then optionally kSeparator and the messages file.
#include "MemoryFileSystem.h"
#include "cleaner/ChromeProfiles.h"
#include "cleaner/ExtensionScan.h"

#include <cstdint>
#include <string_view>

namespace {
constexpr std::string_view kSeparator = "\n#messages#\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto cut = input.find(kSeparator);
    const std::string chrome = sentravex::chromeFolder("f");
    const std::string version = chrome + "/Default/Extensions/abcdefghijklmnop/1.0";

    sentravex::fuzz::MemoryFileSystem fs;
    fs.files[sentravex::chromeLocalStatePath("f")] =
        R"({"profile":{"info_cache":{"Default":{"name":"Person 1"}}}})";
    fs.files[version + "/manifest.json"] = std::string(input.substr(0, cut));
    if (cut != std::string_view::npos)
        fs.files[version + "/_locales/en/messages.json"] =
            std::string(input.substr(cut + kSeparator.size()));
    (void)sentravex::ExtensionScan::getChromeExtantionList(fs, "f");
    return 0;
}
