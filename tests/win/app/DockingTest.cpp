// Snapping of the dragged main window to the screen edges.

#include <gtest/gtest.h>

#include <array>

#include "app/Docking.h"

namespace {

std::array<LONG, 4> Edges(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

} // namespace

TEST(Docking, EdgesWithinElevenPixelsSnap) {
    const RECT rcWindow{100, 100, 460, 650}; // 360 x 550; only the size counts
    const RECT rcWork{0, 0, 1280, 984};      // a 1280 x 1024 screen above a 40-pixel taskbar
    const struct {
        LONG x, y; // where the window's left/top corner is dragged
        RECT rcWork;
        RECT rcExpected;
    } arrCases[] = {
        {300, 200, rcWork, {300, 200, 660, 750}}, // away from the edges it follows the cursor
        // Left and top snap to screen coordinate 0.
        {5, 200, rcWork, {0, 200, 360, 750}},
        {-11, 200, rcWork, {0, 200, 360, 750}},
        {12, 200, rcWork, {12, 200, 372, 750}},
        {-12, 200, rcWork, {-12, 200, 348, 750}},
        {300, 7, rcWork, {300, 0, 660, 550}},
        {300, 12, rcWork, {300, 12, 660, 562}},
        // Right and bottom snap to the work area, not to the screen.
        {1280 - 11 - 360, 200, rcWork, {920, 200, 1280, 750}},
        {1280 + 11 - 360, 200, rcWork, {920, 200, 1280, 750}},
        {1280 - 12 - 360, 200, rcWork, {908, 200, 1268, 750}},
        {300, 984 - 5 - 550, rcWork, {300, 434, 660, 984}},
        {300, 984 - 12 - 550, rcWork, {300, 422, 660, 972}},
        // A work area barely larger than the window: right wins over left, bottom over top.
        {3, 2, {0, 0, 365, 555}, {5, 5, 365, 555}},
        // A taskbar on the left: the left edge still snaps to 0.
        {8, 300, {60, 0, 1280, 1024}, {0, 300, 360, 850}},
        {65, 300, {60, 0, 1280, 1024}, {65, 300, 425, 850}},
    };
    const POINT ptGrab{50, 10}; // where the caption was pressed
    for (const auto& oCase : arrCases) {
        const POINT ptCursor{oCase.x + ptGrab.x, oCase.y + ptGrab.y};
        EXPECT_EQ(Edges(SnapMovingRect(rcWindow, ptCursor, ptGrab, oCase.rcWork)),
                  Edges(oCase.rcExpected))
            << "dragged to " << oCase.x << ", " << oCase.y;
    }
}
