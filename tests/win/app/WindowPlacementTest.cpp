// The stored placement of the main window, made safe before the window is created.

#include <gtest/gtest.h>

#include "app/WindowPlacement.h"

namespace {

const SIZE kScreen{1280, 1024};

void ExpectPlacement(const WINDOW_PLACEMENT_VALUES& p, int l, int t, int w, int h) {
    EXPECT_EQ(p.nLeft, l);
    EXPECT_EQ(p.nTop, t);
    EXPECT_EQ(p.nWidth, w);
    EXPECT_EQ(p.nHeight, h);
}

} // namespace

TEST(WindowPlacement, StoredValuesThatFitAreKept) {
    ExpectPlacement(MakeMainWindowPlacement({10, 20, 400, 600}, kScreen), 10, 20, 400, 600);
    ExpectPlacement(MakeMainWindowPlacement({0, 0, 1280, 1024}, kScreen), 0, 0, 1280, 1024);
}

TEST(WindowPlacement, PositionsLeftOfOrAboveThePrimaryMonitorStayNegative) {
    ExpectPlacement(MakeMainWindowPlacement({-1500, -200, 360, 550}, kScreen), -1500, -200, 360,
                    550);
}

TEST(WindowPlacement, BadSizesFallBackToTheDefaultsEachOnItsOwn) {
    ExpectPlacement(MakeMainWindowPlacement({5, 5, 0, 0}, kScreen), 5, 5, 360, 550);
    ExpectPlacement(MakeMainWindowPlacement({5, 5, -20, 300}, kScreen), 5, 5, 360, 300);
    ExpectPlacement(MakeMainWindowPlacement({5, 5, 500, -1}, kScreen), 5, 5, 500, 550);
    ExpectPlacement(MakeMainWindowPlacement({5, 5, 1281, 1025}, kScreen), 5, 5, 360, 550);
    // A width stored as 0xFFFFFFFF reads as -1, not as four billion.
    ExpectPlacement(MakeMainWindowPlacement({5, 5, static_cast<int>(0xFFFFFFFFu), 400}, kScreen), 5,
                    5, 360, 400);
}
