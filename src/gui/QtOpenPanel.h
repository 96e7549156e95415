#pragma once

#include "access/OpenPanel.h"
#include "platform/Root.h"

namespace sentravex {

// The folder chooser: a directory dialog that opens where the logical folder lies under the root
// and answers the chosen folder as a logical path. A folder outside the root has no logical
// path: it is answered as confirmed without a folder.
class QtOpenPanel : public OpenPanel {
public:
    explicit QtOpenPanel(Root root) : root_(std::move(root)) {}

    OpenPanelAnswer runModal(const OpenPanelSettings& settings) override;

private:
    Root root_;
};

} // namespace sentravex
