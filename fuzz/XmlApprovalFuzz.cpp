// The configuration document as the server sends it: the XML reader and the approval decision.
#include "remote/VersionApproval.h"
#include "remote/XMLReader.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);

    std::ostringstream log;
    auto approved = sentravex::versionApproval("2.3", body, log);
    // Any body at all gets an answer; only a missing or empty one leaves the flag alone.
    if (approved.has_value() == body.empty())
        std::abort();

    // Without an error slot the reader answers what it read before a failure.
    sentravex::XMLReader reader;
    reader.rootName = "item";
    if (const auto* records = reader.parseXMLWithData(body))
        for (const auto& record : *records)
            (void)sentravex::recordValue(record, "version_number");
    return 0;
}
