#include "CleanAlert.h"

#include "ByteCount.h"
#include "CleanProgressText.h"
#include "view/FailureDetails.h"

namespace sentravex {
namespace {

std::string pathsText(std::size_t paths) {
    return std::to_string(paths) + (paths == 1 ? " path" : " paths");
}

std::string reportText(const CleanReport& report) {
    const auto failed = report.failed.size();
    if (report.cancelled) {
        std::string text = "Cleaning stopped: " + entriesText(report.entries) + " (" +
                           byteCountText(report.bytes) + ")" +
                           (report.entries == 1 ? " was" : " were") +
                           " removed; the rest of the selected data is still there.";
        if (failed > 0)
            text += " " + pathsText(failed) + " could not be removed.";
        return text;
    }
    if (failed == 0)
        return "You have successfully cleared selected data.";
    return pathsText(failed) + " could not be removed; the rest of the selected data was cleared.";
}

} // namespace

std::string cleanAlertText(const CleanReport& report,
                           const std::vector<RunningOwner>& stillRunning) {
    const auto text = reportText(report);
    return stillRunning.empty() ? text : text + " " + stillRunningText(stillRunning);
}

std::string cleanAlertDetails(const CleanReport& report) {
    std::vector<FailedPath> failures;
    failures.reserve(report.failed.size());
    for (const auto& f : report.failed)
        failures.push_back({f.path, f.error});
    return failureDetailsText(failures);
}

} // namespace sentravex
