// fieldtarget.exe: "the program the user is typing into" for the tests of where the keyboard
// goes back to: a window "fieldtarget" with an edit field (id 1) and a drop-down combo box with
// its own edit field (id 2), under a dialog's keyboard handling. It ends when it is closed.

#include <windows.h>

namespace {

LRESULT CALLBACK TargetProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int) {
    WNDCLASSW oClass{};
    oClass.lpfnWndProc = TargetProc;
    oClass.hInstance = hInstance;
    oClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    oClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    oClass.lpszClassName = L"KorvexFieldTarget";
    RegisterClassW(&oClass);
    const HWND hWnd = CreateWindowExW(0, oClass.lpszClassName, L"fieldtarget", WS_OVERLAPPEDWINDOW,
                                      200, 200, 420, 160, nullptr, nullptr, hInstance, nullptr);
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 380, 24, hWnd,
                    reinterpret_cast<HMENU>(1), hInstance, nullptr);
    CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, 10, 50,
                    380, 200, hWnd, reinterpret_cast<HMENU>(2), hInstance, nullptr);
    ShowWindow(hWnd, SW_SHOW);
    MSG oMsg;
    while (GetMessageW(&oMsg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(hWnd, &oMsg)) {
            TranslateMessage(&oMsg);
            DispatchMessageW(&oMsg);
        }
    }
    return 0;
}
