// hooktarget.exe: "the program the user is typing into" for the keyboard hook tests. It shows a
// window, takes the foreground and the keyboard focus, writes "ready" once it has them, then one
// line per key message its window gets, as it arrives: "down|up|sysdown|sysup <vk in hex>".
// It ends when its window is closed; exit code 2: it could not get the focus within 10 s.

#include <windows.h>

#include <cstdio>

namespace {

void Report(const char* pszKind, WPARAM nKey) {
    char szLine[32];
    const int nLength =
        std::snprintf(szLine, sizeof szLine, "%s %02x\n", pszKind, static_cast<unsigned>(nKey));
    DWORD dwWritten = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), szLine, static_cast<DWORD>(nLength), &dwWritten,
              nullptr);
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    const char* const apszKinds[] = {"down", "up", nullptr, nullptr, "sysdown", "sysup"};
    if (nMsg >= WM_KEYDOWN && nMsg <= WM_SYSKEYUP && apszKinds[nMsg - WM_KEYDOWN] != nullptr) {
        Report(apszKinds[nMsg - WM_KEYDOWN], wParam);
        return 0; // no menu mode for Alt: the window has no menu to open
    }
    if (nMsg == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

} // namespace

int wmain() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HookTargetWindow";
    RegisterClassW(&wc);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Hook target", WS_OVERLAPPEDWINDOW, 100, 100,
                                320, 200, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(hWnd, SW_SHOW);
    // Taking the foreground may need a few rounds of the message loop.
    MSG msg;
    const ULONGLONG nDeadline = GetTickCount64() + 10000;
    while (hWnd == nullptr || GetForegroundWindow() != hWnd || GetFocus() != hWnd) {
        if (hWnd == nullptr || GetTickCount64() > nDeadline) {
            return 2;
        }
        SetForegroundWindow(hWnd);
        SetFocus(hWnd);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    DWORD dwWritten = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "ready\n", 6, &dwWritten, nullptr);
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
