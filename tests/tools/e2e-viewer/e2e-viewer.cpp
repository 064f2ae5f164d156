// e2e-viewer: a clipboard viewer that joins the chain after the programs already in it and then
// behaves as the test asks. It is how the scenarios put a well-behaved, a rude or a hung
// neighbour next to Korvex.
//
//   e2e-viewer <name> pass         passes both chain messages on, as every viewer should
//   e2e-viewer <name> swallow      never passes anything on
//   e2e-viewer <name> hang         joins, then stops pumping messages for good
//
// The window (class "KorvexE2eViewer") is titled "<name> <n>", n being the number of change
// notifications it has received since it joined; the title appears once the join is done.
// WM_CLOSE makes it leave the chain properly and end. Exit codes: 0 done, 1 usage, 2 no window.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"KorvexE2eViewer";

enum class Mode { Pass, Swallow, Hang };

struct Viewer {
    Mode eMode = Mode::Pass;
    std::wstring strName;
    HWND hWnd = nullptr;
    HWND hWndNext = nullptr;
    bool bJoining = false;
    unsigned nDraws = 0;
};

Viewer g_viewer;

void ShowCount() {
    const std::wstring strTitle = g_viewer.strName + L" " + std::to_wstring(g_viewer.nDraws);
    SetWindowTextW(g_viewer.hWnd, strTitle.c_str());
}

void OnDrawClipboard() {
    ++g_viewer.nDraws;
    ShowCount();
    if (g_viewer.eMode == Mode::Pass && g_viewer.hWndNext != nullptr &&
        g_viewer.hWndNext != g_viewer.hWnd) {
        // Sent, as viewers do, so that the chain hears of the change in order.
        SendMessageTimeoutW(g_viewer.hWndNext, WM_DRAWCLIPBOARD, 0, 0, SMTO_NORMAL, 5000, nullptr);
    }
}

void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter) {
    if (g_viewer.eMode != Mode::Pass) {
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
    case WM_CLOSE:
        ChangeClipboardChain(hWnd, g_viewer.hWndNext);
        DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, nMessage, wParam, lParam);
    }
}

bool ParseArguments(int argc, wchar_t** argv) {
    if (argc != 3) {
        return false;
    }
    g_viewer.strName = argv[1];
    const std::wstring strMode = argv[2];
    g_viewer.eMode = strMode == L"swallow" ? Mode::Swallow
                     : strMode == L"hang"  ? Mode::Hang
                                           : Mode::Pass;
    return strMode == L"pass" || g_viewer.eMode != Mode::Pass;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (!ParseArguments(argc, argv)) {
        std::fprintf(stderr, "usage: e2e-viewer <name> pass|swallow|hang\n");
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
