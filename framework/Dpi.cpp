#include "framework/Dpi.h"

namespace {

// GetDpiForWindow exists from Windows 10 (1607) on; earlier systems have one DPI for all.
using GET_DPI_FOR_WINDOW = UINT(WINAPI*)(HWND);

GET_DPI_FOR_WINDOW FindGetDpiForWindow() {
    HMODULE hUser = GetModuleHandleW(L"user32.dll");
    return hUser != nullptr ? reinterpret_cast<GET_DPI_FOR_WINDOW>(
                                  reinterpret_cast<void*>(GetProcAddress(hUser, "GetDpiForWindow")))
                            : nullptr;
}

UINT GetScreenDpi() {
    HDC hScreen = GetDC(nullptr);
    const int nDpi = hScreen != nullptr ? GetDeviceCaps(hScreen, LOGPIXELSX) : 0;
    if (hScreen != nullptr) {
        ReleaseDC(nullptr, hScreen);
    }
    return nDpi > 0 ? static_cast<UINT>(nDpi) : DEFAULT_DPI;
}

} // namespace

UINT GetWindowDpi(HWND hWnd) {
    static const GET_DPI_FOR_WINDOW pfnGetDpiForWindow = FindGetDpiForWindow();
    if (hWnd != nullptr && pfnGetDpiForWindow != nullptr) {
        const UINT nDpi = pfnGetDpiForWindow(hWnd);
        if (nDpi != 0) {
            return nDpi;
        }
    }
    return GetScreenDpi();
}

int ScaleForDpi(int nPixels, UINT nDpi) {
    return MulDiv(nPixels, static_cast<int>(nDpi), static_cast<int>(DEFAULT_DPI));
}
