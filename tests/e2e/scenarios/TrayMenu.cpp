#include "TrayMenu.h"

#include "InputInjector.h"
#include "NotificationArea.h"
#include "Wait.h"

#include <algorithm>

namespace e2e {

namespace {

// The pixels of a screen rectangle, row by row.
std::vector<uint32_t> CaptureScreen(const RECT& rect) {
    const int nWidth = rect.right - rect.left;
    const int nHeight = rect.bottom - rect.top;
    std::vector<uint32_t> vecPixels;
    if (nWidth <= 0 || nHeight <= 0) {
        return vecPixels;
    }
    HDC hScreen = GetDC(nullptr);
    HDC hMemory = CreateCompatibleDC(hScreen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap != nullptr && pBits != nullptr) {
        HGDIOBJ hOld = SelectObject(hMemory, hBitmap);
        if (BitBlt(hMemory, 0, 0, nWidth, nHeight, hScreen, rect.left, rect.top, SRCCOPY)) {
            GdiFlush();
            const auto* pFirst = static_cast<const uint32_t*>(pBits);
            vecPixels.assign(pFirst, pFirst + static_cast<size_t>(nWidth) * nHeight);
        }
        SelectObject(hMemory, hOld);
        DeleteObject(hBitmap);
    }
    DeleteDC(hMemory);
    ReleaseDC(nullptr, hScreen);
    return vecPixels;
}

} // namespace

bool CTrayMenu::IsShown() {
    m_hMenu = nullptr;
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, L"#32768", nullptr)) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == m_nKorvexProcess && IsWindowVisible(hWnd)) {
            m_hMenu = hWnd;
        }
    }
    return m_hMenu != nullptr;
}

bool CTrayMenu::Open() {
    std::optional<TrayIconView> icon;
    if (!WaitUntil([&] { return (icon = FindTrayIcon(L"Korvex")).has_value(); }, 5000)) {
        return false;
    }
    return ClickTrayIcon(*icon, true).bDone && WaitUntil([&] { return IsShown(); }, 3000);
}

std::vector<uint32_t> CTrayMenu::CheckMarkStrip() const {
    RECT rect{};
    if (m_hMenu == nullptr || !GetWindowRect(m_hMenu, &rect)) {
        return {};
    }
    // The check-mark column: a little wider than a check mark, inside the menu's border.
    rect.right = rect.left + GetSystemMetrics(SM_CXMENUCHECK) + 8;
    // Drawn means: not a plain area any more (the menu's border and items show), and the same
    // in three captures in a row.
    std::vector<uint32_t> vecPrevious;
    std::vector<uint32_t> vecCurrent;
    int nSameInARow = 0;
    const bool bSettled = WaitUntil(
        [&] {
            vecCurrent = CaptureScreen(rect);
            const bool bPlain =
                vecCurrent.empty() ||
                std::all_of(vecCurrent.begin(), vecCurrent.end(),
                            [&](uint32_t nPixel) { return nPixel == vecCurrent.front(); });
            nSameInARow = !bPlain && vecCurrent == vecPrevious ? nSameInARow + 1 : 0;
            vecPrevious = vecCurrent;
            return nSameInARow >= 2;
        },
        3000, 50);
    return bSettled ? vecCurrent : std::vector<uint32_t>{};
}

bool CTrayMenu::PressAndWaitGone(WORD nKey) {
    return PressKey(nKey).bDone && WaitUntil([&] { return !IsShown(); }, 3000);
}

bool CTrayMenu::Choose(WORD nKey) {
    if (PressAndWaitGone(nKey)) {
        return true;
    }
    Close();
    return false;
}

bool CTrayMenu::Close() {
    return PressAndWaitGone(VK_ESCAPE);
}

} // namespace e2e
