// The body of the remote scan-scope flag.
#include "remote/ScanScopeFlag.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    // Exactly the four bytes "true" turn it on.
    if (sentravex::scanScopeFlag(body) != (body == "true"))
        std::abort();
    return 0;
}
