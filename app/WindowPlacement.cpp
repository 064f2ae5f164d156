#include "WindowPlacement.h"

namespace {

int ValidSize(int nStored, LONG nScreen, int nDefault) {
    return (nStored <= 0 || nStored > nScreen) ? nDefault : nStored;
}

} // namespace

WINDOW_PLACEMENT_VALUES MakeMainWindowPlacement(const WINDOW_PLACEMENT_VALUES& stored,
                                                SIZE sizeScreen) {
    return WINDOW_PLACEMENT_VALUES{
        stored.nLeft, stored.nTop,
        ValidSize(stored.nWidth, sizeScreen.cx, MAIN_WINDOW_DEFAULT_WIDTH),
        ValidSize(stored.nHeight, sizeScreen.cy, MAIN_WINDOW_DEFAULT_HEIGHT)};
}
