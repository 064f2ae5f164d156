// e2e-viewer: a clipboard viewer that joins the chain after the programs already in it and then
// behaves as the test asks. It is how the scenarios put a well-behaved, a rude or a hung
// neighbour next to Korvex.
//
//   e2e-viewer <name> pass         passes both chain messages on, as every viewer should
//   e2e-viewer <name> deaf         passes change notifications on but ignores chain changes,
//                                  so a member that leaves and joins again makes a loop
//   e2e-viewer <name> swallow      never passes anything on
//   e2e-viewer <name> hang         joins, then stops pumping messages for good
//   e2e-viewer <name> grab <ms>    on each change opens the clipboard first, then passes the
//                                  notification on and keeps the clipboard open for <ms>
//
// The window (class "KorvexE2eViewer") is titled "<name> <n>", n being the number of change
// notifications it has received since it joined; the title appears once the join is done.
// WM_CLOSE makes it leave the chain properly and end. Exit codes: 0 done, 1 usage, 2 no window.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"KorvexE2eViewer";
constexpr UINT_PTR kReleaseTimer = 1;

enum class Mode { Pass, Deaf, Swallow, Hang, Grab };

struct Viewer {
    Mode eMode = Mode::Pass;
    std::wstring strName;
    DWORD nGrabMs = 0;
    HWND hWnd = nullptr;
    HWND hWndNext = nullptr;
    bool bJoining = false;
    bool bHolding = false;
    unsigned nDraws = 0;
};

Viewer g_viewer;

void ShowCount() {
    const std::wstring strTitle = g_viewer.strName + L" " + std::to_wstring(g_viewer.nDraws);
    SetWindowTextW(g_viewer.hWnd, strTitle.c_str());
}

bool PassesDrawOn() {
    return g_viewer.eMode != Mode::Swallow && g_viewer.eMode != Mode::Hang;
}

bool PassesChainChangeOn() {
    return g_viewer.eMode == Mode::Pass || g_viewer.eMode == Mode::Grab;
}

void OnDrawClipboard() {
    ++g_viewer.nDraws;
    ShowCount();
    if (g_viewer.eMode == Mode::Grab && !g_viewer.bHolding) {
        // Take the clipboard before the next viewer hears of the change, so that it finds the
        // clipboard busy when it tries to read.
        for (int i = 0; i < 100 && !g_viewer.bHolding; ++i) {
            g_viewer.bHolding = OpenClipboard(g_viewer.hWnd) != FALSE;
            if (!g_viewer.bHolding) {
                Sleep(10);
            }
        }
        if (g_viewer.bHolding) {
            SetTimer(g_viewer.hWnd, kReleaseTimer, g_viewer.nGrabMs, nullptr);
        }
    }
    if (!PassesDrawOn() || g_viewer.hWndNext == nullptr || g_viewer.hWndNext == g_viewer.hWnd) {
        return;
    }
    if (g_viewer.eMode == Mode::Grab) {
        // Not sent: we hold the clipboard and must not wait for a reader that waits for us.
        SendNotifyMessageW(g_viewer.hWndNext, WM_DRAWCLIPBOARD, 0, 0);
    } else {
        // Sent, as viewers do, so that the chain hears of the change in order.
        SendMessageTimeoutW(g_viewer.hWndNext, WM_DRAWCLIPBOARD, 0, 0, SMTO_NORMAL, 5000, nullptr);
    }
}

void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter) {
    if (!PassesChainChangeOn()) {
        return;
    }
    if (hWndRemove == g_viewer.hWndNext) {
        g_viewer.hWndNext = hWndAfter;
    } else if (g_viewer.hWndNext != nullptr) {
        SendMessageTimeoutW(g_viewer.hWndNext, WM_CHANGECBCHAIN,
                            reinterpret_cast<WPARAM>(hWndRemove),
                            reinterpret_cast<LPARAM>(hWndAfter), SMTO_NORMAL, 5000, nullptr);
    }
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    switch (nMessage) {
    case WM_DRAWCLIPBOARD:
        if (!g_viewer.bJoining) {
            OnDrawClipboard();
        }
        return 0;
    case WM_CHANGECBCHAIN:
        OnChangeCbChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kReleaseTimer) {
            KillTimer(hWnd, kReleaseTimer);
            if (g_viewer.bHolding) {
                CloseClipboard();
                g_viewer.bHolding = false;
            }
        }
        return 0;
    case WM_CLOSE:
        ChangeClipboardChain(hWnd, g_viewer.hWndNext);
        DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        if (g_viewer.bHolding) {
            CloseClipboard();
            g_viewer.bHolding = false;
        }
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, nMessage, wParam, lParam);
    }
}

bool ParseArguments(int argc, wchar_t** argv) {
    if (argc < 3) {
        return false;
    }
    g_viewer.strName = argv[1];
    const std::wstring strMode = argv[2];
    if (strMode == L"pass") {
        g_viewer.eMode = Mode::Pass;
    } else if (strMode == L"deaf") {
        g_viewer.eMode = Mode::Deaf;
    } else if (strMode == L"swallow") {
        g_viewer.eMode = Mode::Swallow;
    } else if (strMode == L"hang") {
        g_viewer.eMode = Mode::Hang;
    } else if (strMode == L"grab" && argc >= 4) {
        g_viewer.eMode = Mode::Grab;
        g_viewer.nGrabMs = static_cast<DWORD>(wcstoul(argv[3], nullptr, 10));
    } else {
        return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (!ParseArguments(argc, argv)) {
        std::fprintf(stderr, "usage: e2e-viewer <name> pass|deaf|swallow|hang|grab <ms>\n");
        return 1;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    // A hidden top-level window: message-only windows cannot join the viewer chain.
    g_viewer.hWnd = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                    wc.hInstance, nullptr);
    if (g_viewer.hWnd == nullptr) {
        return 2;
    }
    g_viewer.bJoining = true;
    g_viewer.hWndNext = SetClipboardViewer(g_viewer.hWnd);
    g_viewer.bJoining = false;
    ShowCount();

    if (g_viewer.eMode == Mode::Hang) {
        // A program that is stuck: no message is ever handled again.
        for (;;) {
            Sleep(INFINITE);
        }
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return 0;
}
