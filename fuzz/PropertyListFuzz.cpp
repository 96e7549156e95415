// A bundle's Info.plist, XML or binary: the icon the window shows and the identifier of a running
// application are read from it.
#include "platform/PropertyList.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    for (std::string_view key : {"CFBundleIconFile", "CFBundleIdentifier"}) {
        // Every value comes out of the document's own bytes: UTF-16 grows by half at most.
        auto value = sentravex::propertyListString(document, key);
        if (value && value->size() > size + size / 2)
            std::abort();
    }
    return 0;
}
