#pragma once

#include <optional>
#include <string>

namespace sentravex {

// The response code of a confirmed open panel.
inline constexpr long kOpenPanelOK = 1;

struct OpenPanelSettings {
    bool canChooseFiles = false;
    bool canChooseDirectories = true;
    bool allowsMultipleSelection = false;
    std::string prompt;    // the confirm button
    std::string message;   // shown above the folders
    std::string directory; // logical folder the panel opens at
};

struct OpenPanelAnswer {
    long response = 0;
    std::optional<std::string> url; // the chosen logical folder
};

// A modal folder chooser, shown by the window.
class OpenPanel {
public:
    virtual ~OpenPanel() = default;
    virtual OpenPanelAnswer runModal(const OpenPanelSettings& settings) = 0;
};

} // namespace sentravex
