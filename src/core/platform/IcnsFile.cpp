#include "IcnsFile.h"

#include <array>
#include <cstdint>

namespace sentravex {
namespace {

struct EntryType {
    std::string_view type;
    int side;              // pixels
    std::string_view mask; // the entry holding a legacy image's alpha; empty for modern ones
};

constexpr std::array entryTypes{
    EntryType{"icp4", 16, {}},     EntryType{"ic11", 32, {}},     EntryType{"icp5", 32, {}},
    EntryType{"icp6", 64, {}},     EntryType{"ic12", 64, {}},     EntryType{"ic07", 128, {}},
    EntryType{"ic08", 256, {}},    EntryType{"ic13", 256, {}},    EntryType{"ic09", 512, {}},
    EntryType{"ic14", 512, {}},    EntryType{"ic10", 1024, {}},   EntryType{"is32", 16, "s8mk"},
    EntryType{"il32", 32, "l8mk"}, EntryType{"ih32", 48, "h8mk"}, EntryType{"it32", 128, "t8mk"},
};

constexpr std::string_view pngSignature = "\x89PNG\r\n\x1a\n";

std::uint32_t bigEndian(std::string_view at) {
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < 4; ++i)
        n = (n << 8) | static_cast<unsigned char>(at[i]);
    return n;
}

std::string bigEndianBytes(std::size_t n) {
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
            static_cast<char>(n)};
}

const EntryType* typeOf(std::string_view type) {
    for (const auto& t : entryTypes)
        if (t.type == type)
            return &t;
    return nullptr;
}

// Whether an entry of `candidate` pixels serves `side` better than one of `chosen`: the smallest
// that is large enough, else the largest.
bool servesBetter(int candidate, int chosen, int side) {
    if ((candidate >= side) != (chosen >= side))
        return candidate >= side;
    return candidate >= side ? candidate < chosen : candidate > chosen;
}

} // namespace

std::optional<std::string> iconImageForSide(std::string_view file, int side) {
    if (!file.starts_with("icns"))
        return std::string(file);
    if (file.size() < 8)
        return std::nullopt;
    // The header's length is believed only as far as the file goes; so is each entry's.
    const std::size_t end = std::min<std::size_t>(bigEndian(file.substr(4)), file.size());
    const EntryType* chosenType = nullptr;
    std::string_view chosen;
    std::array<std::string_view, entryTypes.size()> masks{};
    for (std::size_t at = 8; at + 8 <= end;) {
        const std::size_t length = bigEndian(file.substr(at + 4));
        if (length < 8 || length > end - at)
            break;
        const std::string_view entry = file.substr(at, length);
        const std::string_view type = entry.substr(0, 4);
        at += length;
        for (std::size_t i = 0; i < entryTypes.size(); ++i)
            if (entryTypes[i].mask == type && masks[i].empty())
                masks[i] = entry;
        const EntryType* t = typeOf(type);
        if (t && (!chosenType || servesBetter(t->side, chosenType->side, side))) {
            chosenType = t;
            chosen = entry;
        }
    }
    if (!chosenType)
        return std::nullopt;
    const std::string_view payload = chosen.substr(8);
    if (payload.starts_with(pngSignature))
        return std::string(payload);
    const std::string_view mask = masks[static_cast<std::size_t>(chosenType - entryTypes.data())];
    return "icns" + bigEndianBytes(8 + chosen.size() + mask.size()) + std::string(chosen) +
           std::string(mask);
}

} // namespace sentravex
