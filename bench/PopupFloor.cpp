// popupfloor.exe: the least a program can do to answer the "Show Clip Window" hotkey, the floor
// beside Korvex's figures in clipbench. A low-level keyboard hook sees Ctrl+Alt+0 and shows a
// window made at the start, of the small clip window's default size, and gives it the focus; Esc
// hides it again (seen by the hook too: a floor that did not get the focus must still close, or
// the next opening maps nothing). It runs until it gets WM_CLOSE (clipbench sends it).

#include <windows.h>

namespace {

constexpr UINT kMsgShow = WM_APP + 1;
constexpr UINT kMsgHide = WM_APP + 2;
HWND g_hPopup = nullptr;

LRESULT CALLBACK KeyboardHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
        const auto* pKey = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (pKey->vkCode == '0' && (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0 &&
            (GetAsyncKeyState(VK_MENU) & 0x8000) != 0) {
            PostMessageW(g_hPopup, kMsgShow, 0, 0);
            return 1;
        }
        if (pKey->vkCode == VK_ESCAPE && IsWindowVisible(g_hPopup)) {
            PostMessageW(g_hPopup, kMsgHide, 0, 0);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK PopupProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case kMsgShow:
        ShowWindow(hWnd, SW_SHOW);
        SetForegroundWindow(hWnd);
        return 0;
    case kMsgHide:
        ShowWindow(hWnd, SW_HIDE);
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int) {
    WNDCLASSW oClass{};
    oClass.lpfnWndProc = PopupProc;
    oClass.hInstance = hInstance;
    oClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    oClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    oClass.lpszClassName = L"KorvexPopupFloor";
    RegisterClassW(&oClass);
    g_hPopup = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, oClass.lpszClassName,
                               L"popupfloor", WS_POPUP | WS_BORDER, 400, 300, 415, 250, nullptr,
                               nullptr, hInstance, nullptr);
    const HHOOK hHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, hInstance, 0);
    if (g_hPopup == nullptr || hHook == nullptr) {
        return 1;
    }
    MSG oMsg;
    while (GetMessageW(&oMsg, nullptr, 0, 0) > 0) {
        TranslateMessage(&oMsg);
        DispatchMessageW(&oMsg);
    }
    UnhookWindowsHookEx(hHook);
    return 0;
}
