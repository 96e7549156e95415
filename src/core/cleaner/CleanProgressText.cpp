#include "CleanProgressText.h"

#include "ByteCount.h"

namespace sentravex {

std::string entriesText(std::uint64_t entries) {
    std::string digits = std::to_string(entries);
    for (auto at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits + (entries == 1 ? " entry" : " entries");
}

std::string cleanProgressText(const CleanTally& tally, bool stopping) {
    std::string text =
        stopping ? "Stopping after the current entry…" : "Removing the selected data…";
    if (tally.entries == 0)
        return text + "\nNothing removed yet";
    return text + "\n" + entriesText(tally.entries) + ", " + byteCountText(tally.bytes) +
           " removed";
}

} // namespace sentravex
