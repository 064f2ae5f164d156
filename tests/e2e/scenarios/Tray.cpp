#include "Tray.h"

#include "KorvexDialog.h"
#include "Mouse.h"
#include "RemoteMemory.h"
#include "tests/support/win/Keyboard.h"
#include "tests/support/win/MessagePump.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace e2e {

namespace {

HWND TooltipWindowOf(HWND hTray) {
    DWORD nTrayProcess = 0;
    GetWindowThreadProcessId(hTray, &nTrayProcess);
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, TOOLTIPS_CLASSW, nullptr)) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == nTrayProcess) {
            return hWnd;
        }
    }
    return nullptr;
}

} // namespace

std::vector<uint32_t> CaptureScreen(const RECT& rc) {
    const int nWidth = rc.right - rc.left;
    const int nHeight = rc.bottom - rc.top;
    std::vector<uint32_t> vecPixels(static_cast<size_t>(std::max(0, nWidth * nHeight)));
    HDC hScreen = GetDC(nullptr);
    HDC hMemory = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, nWidth, nHeight);
    HGDIOBJ hOld = SelectObject(hMemory, hBitmap);
    BITMAPINFO oInfo{};
    oInfo.bmiHeader = {sizeof oInfo.bmiHeader, nWidth, -nHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const bool bCaptured =
        !vecPixels.empty() &&
        BitBlt(hMemory, 0, 0, nWidth, nHeight, hScreen, rc.left, rc.top, SRCCOPY) &&
        GetDIBits(hMemory, hBitmap, 0, nHeight, vecPixels.data(), &oInfo, DIB_RGB_COLORS) ==
            nHeight;
    SelectObject(hMemory, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hMemory);
    ReleaseDC(nullptr, hScreen);
    return bCaptured ? vecPixels : std::vector<uint32_t>{};
}

std::optional<RECT> FindTrayIcon(const wchar_t* pszTooltip) {
    const HWND hTray = FindWindowW(L"Shell_TrayWnd", nullptr);
    const HWND hTips = hTray ? TooltipWindowOf(hTray) : nullptr;
    if (hTips == nullptr || !IsWindowVisible(hTray)) {
        return std::nullopt;
    }
    constexpr size_t kTextOffset = 1024;
    CRemoteMemory oMemory(hTips, 8192);
    for (LRESULT i = 0, nTools = SendWithin(hTips, TTM_GETTOOLCOUNT, 0, 0); i < nTools; ++i) {
        TTTOOLINFOW oTool{};
        oTool.cbSize = sizeof oTool;
        oTool.lpszText = reinterpret_cast<LPWSTR>(oMemory.At(kTextOffset));
        wchar_t aTip[64] = {};
        if (oMemory.Write(0, &oTool, sizeof oTool) && oMemory.Write(kTextOffset, aTip, 2) &&
            SendWithin(hTips, TTM_ENUMTOOLSW, i, oMemory.At(0)) > 0 &&
            oMemory.Read(0, &oTool, sizeof oTool) &&
            oMemory.Read(kTextOffset, aTip, sizeof aTip - sizeof(wchar_t)) &&
            wcscmp(aTip, pszTooltip) == 0 && !IsRectEmpty(&oTool.rect)) { // a removed icon's tool
            MapWindowPoints(oTool.hwnd, nullptr, reinterpret_cast<POINT*>(&oTool.rect), 2);
            return oTool.rect;
        }
    }
    return std::nullopt;
}

HWND OpenTrayMenu(DWORD nKorvexProcess, const wchar_t* pszTooltip) {
    std::optional<RECT> optIcon;
    if (!wintest::PumpUntil([&] { return (optIcon = FindTrayIcon(pszTooltip)).has_value(); })) {
        return nullptr;
    }
    // Of two spots on the icon, the one away from the cursor: the cursor rests where the last
    // click was, and a tooltip popped up there would take the click.
    const LONG nQuarter = (optIcon->right - optIcon->left) / 4;
    const LONG nY = (optIcon->top + optIcon->bottom) / 2;
    POINT ptCursor{};
    GetCursorPos(&ptCursor);
    const POINT pt = std::abs(ptCursor.x - optIcon->left) > std::abs(ptCursor.x - optIcon->right)
                         ? POINT{optIcon->left + nQuarter, nY}
                         : POINT{optIcon->right - nQuarter, nY};
    const HWND hTray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (WindowFromPoint(pt) != hTray) {
        SetCursorPos(pt.x, optIcon->top - 100);
        wintest::PumpUntil([&] { return WindowFromPoint(pt) == hTray; }, 3000);
    }
    std::vector<HWND> vecMenus;
    const auto fnShown = [&] {
        return !(vecMenus = ShownWindows(nKorvexProcess, L"#32768")).empty();
    };
    return ClickAt(pt, 1, true) && wintest::PumpUntil(fnShown, 3000) ? vecMenus.front() : nullptr;
}

std::vector<uint32_t> CheckMarkStrip(HWND hMenu) {
    RECT rc{};
    if (!GetWindowRect(hMenu, &rc)) {
        return {};
    }
    rc.right = rc.left + GetSystemMetrics(SM_CXMENUCHECK) + 8; // inside the border, and some
    // Drawn: not a plain area any more (the border and the items show), and settled.
    std::vector<uint32_t> vecPrevious;
    std::vector<uint32_t> vecCurrent;
    int nSameInARow = 0;
    const bool bSettled = wintest::PumpUntil(
        [&] {
            vecCurrent = CaptureScreen(rc);
            const bool bPlain = std::all_of(vecCurrent.begin(), vecCurrent.end(),
                                            [&](uint32_t n) { return n == vecCurrent.front(); });
            nSameInARow = !bPlain && vecCurrent == vecPrevious ? nSameInARow + 1 : 0;
            vecPrevious = vecCurrent;
            if (nSameInARow < 2) {
                wintest::PumpFor(50);
            }
            return nSameInARow >= 2;
        },
        3000);
    return bSettled ? vecCurrent : std::vector<uint32_t>{};
}

bool CloseTrayMenu(HWND hMenu) {
    return wintest::InjectKeys(wintest::Chord({VK_ESCAPE})) == 2 &&
           wintest::PumpUntil([&] { return !IsWindowVisible(hMenu); }, 3000);
}

} // namespace e2e
