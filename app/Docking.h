#pragma once
// Snapping of the main window to the screen edges while it is dragged.

#include <windows.h>

// Edges within this many pixels (exclusive) of a screen edge snap to it.
constexpr int DOCKING_SNAP_DISTANCE = 12;

// The window rectangle while moving: rebuilt from the cursor and the grab offset of the
// caption press (so the window follows the cursor and leaves a snapped edge once the cursor is
// past the band), then snapped. The left and top edges snap to screen coordinate 0, the right
// and bottom edges to the work area; right wins over left, bottom over top.
RECT SnapMovingRect(const RECT& rcProposed, POINT ptCursor, POINT ptGrabOffset,
                    const RECT& rcWorkArea);
