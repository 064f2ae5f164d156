#include "framework/Centre.h"

namespace {

LONG Centred(LONG nFrom, LONG nTo, LONG nSize) {
    return nFrom + (nTo - nFrom - nSize) / 2;
}

LONG Within(LONG nAt, LONG nSize, LONG nFrom, LONG nTo) {
    if (nAt + nSize > nTo) {
        nAt = nTo - nSize;
    }
    return nAt < nFrom ? nFrom : nAt;
}

} // namespace

RECT CentredRect(SIZE sizeWindow, const RECT* prcOwner, const RECT& rcWorkArea) {
    const RECT& rcOver = prcOwner != nullptr ? *prcOwner : rcWorkArea;
    const LONG x = Within(Centred(rcOver.left, rcOver.right, sizeWindow.cx), sizeWindow.cx,
                          rcWorkArea.left, rcWorkArea.right);
    const LONG y = Within(Centred(rcOver.top, rcOver.bottom, sizeWindow.cy), sizeWindow.cy,
                          rcWorkArea.top, rcWorkArea.bottom);
    return RECT{x, y, x + sizeWindow.cx, y + sizeWindow.cy};
}

void CentreOverOwner(HWND hWnd, HWND hWndOwner) {
    RECT rcWindow{};
    if (hWnd == nullptr || !GetWindowRect(hWnd, &rcWindow)) {
        return;
    }
    const bool bOverOwner =
        hWndOwner != nullptr && IsWindowVisible(hWndOwner) && !IsIconic(hWndOwner);
    RECT rcOwner{};
    HMONITOR hMonitor = nullptr;
    if (bOverOwner && GetWindowRect(hWndOwner, &rcOwner)) {
        hMonitor = MonitorFromWindow(hWndOwner, MONITOR_DEFAULTTONEAREST);
    } else {
        POINT ptCursor{};
        GetCursorPos(&ptCursor);
        hMonitor = MonitorFromPoint(ptCursor, MONITOR_DEFAULTTOPRIMARY);
    }
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoW(hMonitor, &mi)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
    }
    const RECT rc =
        CentredRect(SIZE{rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top},
                    hMonitor != nullptr && bOverOwner ? &rcOwner : nullptr, mi.rcWork);
    SetWindowPos(hWnd, nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
