#include "framework/Foreground.h"

namespace {

bool IsOurs(HWND hWnd) {
    DWORD nProcess = 0;
    GetWindowThreadProcessId(hWnd, &nProcess);
    return nProcess == GetCurrentProcessId();
}

// A window the user works in: visible, not minimised, not a tool window, not the shell's own.
bool IsWorkWindow(HWND hWnd) {
    if (!IsWindowVisible(hWnd) || IsIconic(hWnd) || IsOurs(hWnd) || hWnd == GetShellWindow() ||
        (GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) {
        return false;
    }
    wchar_t szClass[32] = {};
    GetClassNameW(hWnd, szClass, 32);
    return lstrcmpiW(szClass, L"Shell_TrayWnd") != 0 && lstrcmpiW(szClass, L"Progman") != 0;
}

} // namespace

HWND ForeignForeground() {
    const HWND hWnd = GetForegroundWindow();
    return hWnd != nullptr && !IsOurs(hWnd) ? hWnd : nullptr;
}

void GiveForegroundBack(HWND hWndBefore) {
    const HWND hNow = GetForegroundWindow();
    if (hNow != nullptr && (!IsOurs(hNow) || IsWindowVisible(hNow))) {
        return; // the user went elsewhere, or a visible window of ours has it
    }
    HWND hTo = hWndBefore != nullptr && IsWindow(hWndBefore) && IsWindowVisible(hWndBefore)
                   ? hWndBefore
                   : nullptr;
    if (hTo == nullptr) {
        EnumWindows(
            [](HWND hWnd, LPARAM lParam) {
                if (!IsWorkWindow(hWnd)) {
                    return TRUE;
                }
                *reinterpret_cast<HWND*>(lParam) = hWnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&hTo));
    }
    if (hTo != nullptr) {
        SetForegroundWindow(hTo);
    }
}
