// Snapping of the dragged main window to the screen edges.

#include <gtest/gtest.h>

#include "app/Docking.h"

namespace {

// A 1280x1024 screen whose work area ends above a 40-pixel taskbar.
const RECT kWork{0, 0, 1280, 984};
const RECT kWindow{100, 100, 460, 650}; // 360 x 550

// The rectangle when the window, grabbed at (50, 10), is dragged so its left/top corner is at
// (x, y).
RECT DragTo(LONG x, LONG y) {
    const POINT ptGrab{50, 10};
    return SnapMovingRect(kWindow, POINT{x + ptGrab.x, y + ptGrab.y}, ptGrab, kWork);
}

void ExpectRect(const RECT& rc, LONG l, LONG t, LONG r, LONG b) {
    EXPECT_EQ(rc.left, l);
    EXPECT_EQ(rc.top, t);
    EXPECT_EQ(rc.right, r);
    EXPECT_EQ(rc.bottom, b);
}

} // namespace

TEST(Docking, FollowsTheCursorAwayFromTheEdges) {
    // The proposed rectangle only gives the size: the position comes from the cursor.
    ExpectRect(DragTo(300, 200), 300, 200, 660, 750);
}

TEST(Docking, LeftAndTopSnapToScreenZeroWithinElevenPixels) {
    ExpectRect(DragTo(5, 200), 0, 200, 360, 750);
    ExpectRect(DragTo(-11, 200), 0, 200, 360, 750);
    ExpectRect(DragTo(11, 200), 0, 200, 360, 750);
    ExpectRect(DragTo(12, 200), 12, 200, 372, 750);
    ExpectRect(DragTo(-12, 200), -12, 200, 348, 750);
    ExpectRect(DragTo(300, 7), 300, 0, 660, 550);
    ExpectRect(DragTo(300, 12), 300, 12, 660, 562);
}

TEST(Docking, RightAndBottomSnapToTheWorkArea) {
    // Right edge at work right - 11 snaps; at work right - 12 it does not.
    ExpectRect(DragTo(1280 - 11 - 360, 200), 920, 200, 1280, 750);
    ExpectRect(DragTo(1280 + 11 - 360, 200), 920, 200, 1280, 750);
    ExpectRect(DragTo(1280 - 12 - 360, 200), 908, 200, 1268, 750);
    // Bottom snaps to the work area's bottom (above the taskbar), not the screen's.
    ExpectRect(DragTo(300, 984 - 5 - 550), 300, 434, 660, 984);
    ExpectRect(DragTo(300, 984 - 12 - 550), 300, 422, 660, 972);
}

TEST(Docking, RightWinsOverLeftAndBottomWinsOverTop) {
    // A work area barely wider than the window: both left and right edges qualify.
    const RECT rcNarrow{0, 0, 365, 555};
    const POINT ptGrab{0, 0};
    const RECT rc = SnapMovingRect(kWindow, POINT{3, 2}, ptGrab, rcNarrow);
    ExpectRect(rc, 5, 5, 365, 555);
}

TEST(Docking, WorkAreaWithOffsetOriginStillSnapsLeftToZero) {
    // A taskbar on the left: the work area starts at 60, but the left edge snaps to 0.
    const RECT rcWork{60, 0, 1280, 1024};
    const POINT ptGrab{0, 0};
    ExpectRect(SnapMovingRect(kWindow, POINT{8, 300}, ptGrab, rcWork), 0, 300, 360, 850);
    ExpectRect(SnapMovingRect(kWindow, POINT{65, 300}, ptGrab, rcWork), 65, 300, 425, 850);
}
