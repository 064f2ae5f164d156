// hooktarget.exe: "the program the user is typing into" for the keyboard hook tests. It shows a
// window of its own, takes the foreground and the keyboard focus, and reports every key message
// that reaches the window, one line each on stdout, as it arrives:
//   ready <window handle in hex>      once the window has the focus
//   down|up|sysdown|sysup <vk in hex>  for WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
// It ends when the window is closed (WM_CLOSE). Exit code 2: it could not get the focus.

#include <windows.h>

#include <cstdio>

namespace {

void Report(const char* pszText) {
    DWORD dwWritten = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), pszText, static_cast<DWORD>(lstrlenA(pszText)),
              &dwWritten, nullptr);
}

void ReportKey(const char* pszKind, WPARAM nKey) {
    char szLine[32];
    std::snprintf(szLine, sizeof szLine, "%s %02x\n", pszKind, static_cast<unsigned>(nKey));
    Report(szLine);
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_KEYDOWN:
        ReportKey("down", wParam);
        return 0;
    case WM_KEYUP:
        ReportKey("up", wParam);
        return 0;
    case WM_SYSKEYDOWN:
        ReportKey("sysdown", wParam);
        return 0; // no menu mode: the window has no menu to open
    case WM_SYSKEYUP:
        ReportKey("sysup", wParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

int wmain() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"HookTargetWindow";
    RegisterClassW(&wc);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Hook target", WS_OVERLAPPEDWINDOW, 100, 100,
                                320, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (hWnd == nullptr) {
        return 1;
    }
    ShowWindow(hWnd, SW_SHOW);

    // Taking the foreground may need a few rounds of the message loop; give up after 10 s.
    const ULONGLONG nDeadline = GetTickCount64() + 10000;
    while (GetForegroundWindow() != hWnd || GetFocus() != hWnd) {
        if (GetTickCount64() > nDeadline) {
            Report("nofocus\n");
            return 2;
        }
        SetForegroundWindow(hWnd);
        SetFocus(hWnd);
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    char szReady[48];
    std::snprintf(szReady, sizeof szReady, "ready %llx\n",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hWnd)));
    Report(szReady);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
