#include "Docking.h"

namespace {

bool IsNear(LONG nEdge, LONG nTarget) {
    return nTarget - DOCKING_SNAP_DISTANCE < nEdge && nEdge < nTarget + DOCKING_SNAP_DISTANCE;
}

} // namespace

RECT SnapMovingRect(const RECT& rcProposed, POINT ptCursor, POINT ptGrabOffset,
                    const RECT& rcWorkArea) {
    const LONG nWidth = rcProposed.right - rcProposed.left;
    const LONG nHeight = rcProposed.bottom - rcProposed.top;

    RECT rc;
    rc.left = ptCursor.x - ptGrabOffset.x;
    rc.top = ptCursor.y - ptGrabOffset.y;
    rc.right = rc.left + nWidth;
    rc.bottom = rc.top + nHeight;

    if (IsNear(rc.top, 0)) {
        rc.top = 0;
        rc.bottom = nHeight;
    }
    if (IsNear(rc.left, 0)) {
        rc.left = 0;
        rc.right = nWidth;
    }
    if (IsNear(rc.right, rcWorkArea.right)) {
        rc.right = rcWorkArea.right;
        rc.left = rcWorkArea.right - nWidth;
    }
    if (IsNear(rc.bottom, rcWorkArea.bottom)) {
        rc.bottom = rcWorkArea.bottom;
        rc.top = rcWorkArea.bottom - nHeight;
    }
    return rc;
}
