#include "view/ScanClock.h"

#include "view/ScanProgress.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

ScanClock afterTicks(int ticks) {
    ScanClock clock;
    for (int i = 0; i < ticks; ++i)
        clock.countdown();
    return clock;
}

TEST(ScanClock, CountsMinutesAndSeconds) {
    struct Case {
        int ticks;
        const char* text;
    };
    const Case cases[] = {
        {0, "00:00"},  {1, "00:01"},    {59, "00:59"},    {60, "01:00"},
        {61, "01:01"}, {3599, "59:59"}, {6000, "100:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(afterTicks(c.ticks).text(), c.text) << c.ticks;
}

TEST(ScanClock, SecondsWrapAtSixty) {
    auto clock = afterTicks(119);
    EXPECT_EQ(clock.countDown, 59);
    EXPECT_EQ(clock.countdownCounterMinutes, 1);
    clock.countdown();
    EXPECT_EQ(clock.countDown, 0);
    EXPECT_EQ(clock.countdownCounterMinutes, 2);
    clock.reset();
    EXPECT_EQ(clock.text(), "00:00");
}

TEST(ScanProgress, ShowsTheRawStepAndTheEntryLine) {
    EXPECT_EQ(progressPercentText(0), "0%");
    EXPECT_EQ(progressPercentText(37), "37%");
    EXPECT_EQ(progressPercentText(102), "102%");
    auto line = scanningEntryText("Quorvane.app");
    EXPECT_EQ(line, "Scanning Entry:  Malware.Quorvane.app");
    EXPECT_EQ(line.substr(0, scanningEntryBoldLength), "Scanning Entry:");
}

} // namespace
} // namespace sentravex
