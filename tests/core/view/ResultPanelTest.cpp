#include "view/ResultPanel.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

TEST(ResultPanel, AfterScanByNumberOfFinds) {
    struct Case {
        std::size_t threats;
        ResultPanel expected;
    };
    const Case cases[] = {
        {0, {"No Threats Found", colors::successGreen, "icn_white_check", "Quit"}},
        {1, {"1 Potential Threat Detected", colors::alertRed, "icn_white_cross", "Quarantine >"}},
        {2, {"2 Potential Threats Detected", colors::alertRed, "icn_white_cross", "Quarantine >"}},
        {102,
         {"102 Potential Threats Detected", colors::alertRed, "icn_white_cross", "Quarantine >"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.threats);
        auto p = resultPanelAfterScan(c.threats);
        EXPECT_EQ(p.text, c.expected.text);
        EXPECT_EQ(p.color, c.expected.color);
        EXPECT_EQ(p.image, c.expected.image);
        EXPECT_EQ(p.buttonTitle, c.expected.buttonTitle);
    }
    EXPECT_EQ(colors::successGreen, (Color{67, 198, 89, 255}));
    EXPECT_EQ(colors::alertRed, (Color{188, 60, 60, 255}));
}

TEST(ResultPanel, ResizeKeepsTheIconAfterAScanAndTheTitleAfterARemoval) {
    EXPECT_EQ(partsReappliedOnResize(false),
              (PanelParts{.text = true, .color = true, .image = false, .buttonTitle = true}));
    EXPECT_EQ(partsReappliedOnResize(true),
              (PanelParts{.text = true, .color = true, .image = true, .buttonTitle = false}));
}

} // namespace
} // namespace sentravex
