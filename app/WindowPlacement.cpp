#include "WindowPlacement.h"

#include "framework/Dpi.h"

namespace {

int ValidSize(int nStored, LONG nScreen, int nDefault) {
    return (nStored <= 0 || nStored > nScreen) ? nDefault : nStored;
}

} // namespace

WINDOW_PLACEMENT_VALUES KeepOnAMonitor(const WINDOW_PLACEMENT_VALUES& placement) {
    const RECT rc{placement.nLeft, placement.nTop, placement.nLeft + placement.nWidth,
                  placement.nTop + placement.nHeight};
    if (MonitorFromRect(&rc, MONITOR_DEFAULTTONULL) != nullptr) {
        return placement;
    }
    RECT rcWork{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    return WINDOW_PLACEMENT_VALUES{rcWork.left, rcWork.top, placement.nWidth, placement.nHeight};
}

WINDOW_PLACEMENT_VALUES MakeMainWindowPlacement(const WINDOW_PLACEMENT_VALUES& stored,
                                                SIZE sizeScreen, UINT nDpi) {
    const int nWidth = ScaleForDpi(MAIN_WINDOW_DEFAULT_WIDTH, nDpi);
    const int nHeight = ScaleForDpi(MAIN_WINDOW_DEFAULT_HEIGHT, nDpi);
    // Nothing stored (or exactly the default): the default at this DPI.
    if (stored.nWidth == MAIN_WINDOW_DEFAULT_WIDTH &&
        stored.nHeight == MAIN_WINDOW_DEFAULT_HEIGHT) {
        return WINDOW_PLACEMENT_VALUES{stored.nLeft, stored.nTop, nWidth, nHeight};
    }
    return WINDOW_PLACEMENT_VALUES{stored.nLeft, stored.nTop,
                                   ValidSize(stored.nWidth, sizeScreen.cx, nWidth),
                                   ValidSize(stored.nHeight, sizeScreen.cy, nHeight)};
}
