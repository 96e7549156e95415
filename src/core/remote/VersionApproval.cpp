#include "VersionApproval.h"

#include "XMLReader.h"

namespace sentravex {

std::optional<bool> versionApproval(const std::string& currentVersion,
                                    const std::optional<std::string>& body, std::ostream& log) {
    if (!body || body->empty())
        return std::nullopt;

    XMLReader reader;
    reader.rootName = "item";
    XMLParseError error;
    const auto* records = reader.parseXMLWithData(*body, &error);

    // One write: the check runs beside the window, which logs too.
    log << "version_number == " + currentVersion + '\n';
    if (!records)
        return false;
    for (const auto& record : *records)
        if (recordValue(record, "version_number") == currentVersion)
            return recordValue(record, "review_completed") == "true";
    return false;
}

} // namespace sentravex
