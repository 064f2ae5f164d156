// The stored placement of the main window, made safe before the window is created.

#include <gtest/gtest.h>

#include <array>

#include "app/WindowPlacement.h"

namespace {

std::array<int, 4> Values(const WINDOW_PLACEMENT_VALUES& p) {
    return {p.nLeft, p.nTop, p.nWidth, p.nHeight};
}

} // namespace

TEST(WindowPlacement, BadSizesFallBackToTheDefaultsEachOnItsOwn) {
    const struct {
        WINDOW_PLACEMENT_VALUES oStored;
        WINDOW_PLACEMENT_VALUES oExpected;
    } arrCases[] = {
        {{10, 20, 400, 600}, {10, 20, 400, 600}},
        {{0, 0, 1280, 1024}, {0, 0, 1280, 1024}},
        // Monitors left of or above the primary one have negative positions.
        {{-1500, -200, 360, 550}, {-1500, -200, 360, 550}},
        {{5, 5, 0, 0}, {5, 5, 360, 550}},
        {{5, 5, -20, 300}, {5, 5, 360, 300}},
        {{5, 5, 500, -1}, {5, 5, 500, 550}},
        {{5, 5, 1281, 1025}, {5, 5, 360, 550}},
        // A width stored as 0xFFFFFFFF reads as -1, not as four billion.
        {{5, 5, static_cast<int>(0xFFFFFFFFu), 400}, {5, 5, 360, 400}},
    };
    for (const auto& oCase : arrCases) {
        EXPECT_EQ(Values(MakeMainWindowPlacement(oCase.oStored, SIZE{1280, 1024}, 96)),
                  Values(oCase.oExpected));
    }
    // At 144 DPI the default (nothing stored, or a fallback) is half as large again; a stored
    // size stays as it is.
    EXPECT_EQ(Values(MakeMainWindowPlacement({5, 5, 360, 550}, SIZE{1920, 1536}, 144)),
              (std::array<int, 4>{5, 5, 540, 825}));
    EXPECT_EQ(Values(MakeMainWindowPlacement({5, 5, 0, 600}, SIZE{1920, 1536}, 144)),
              (std::array<int, 4>{5, 5, 540, 600}));
}

TEST(WindowPlacement, APlacementOnNoMonitorMovesToThePrimaryOne) {
    RECT rcWork{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    const int nRight = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const struct {
        WINDOW_PLACEMENT_VALUES oPlacement;
        WINDOW_PLACEMENT_VALUES oExpected;
    } arrCases[] = {
        {{10, 20, 400, 600}, {10, 20, 400, 600}},
        {{-300, 20, 360, 550}, {-300, 20, 360, 550}}, // partly on the monitor: kept
        {{-1500, -200, 360, 550}, {rcWork.left, rcWork.top, 360, 550}},
        {{nRight + 10, 40, 360, 550}, {rcWork.left, rcWork.top, 360, 550}},
    };
    for (const auto& oCase : arrCases) {
        EXPECT_EQ(Values(KeepOnAMonitor(oCase.oPlacement)), Values(oCase.oExpected));
    }
}
