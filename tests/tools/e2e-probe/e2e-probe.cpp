// e2e-probe: Korvex's main window seen from a shell script, through the same rule by which
// every other program finds it (a top-level window "Korvex" with the marker child).
//
//   e2e-probe wait-ready <ms>       waits until the main window exists and answers messages
//   e2e-probe wait-rows <n> <ms>    waits until its list shows at least n rows
//   e2e-probe wait-gone <ms>        waits until no main window exists any more
//   e2e-probe rect                  prints "left top width height" of the main window
//   e2e-probe post <msg> [wparam]   posts a message (decimal or 0x-hex numbers) to it
//
// Exit codes: 0 done, 1 usage, 2 no main window, 3 the condition did not hold in time.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kTitle[] = L"Korvex";
constexpr wchar_t kMarker[] = L"{E35FF78A-0086-4009-A154-38F6E13D084F}";

enum ExitCode { kDone = 0, kUsage = 1, kNoWindow = 2, kTimedOut = 3 };

HWND FindMainWindow() {
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, nullptr, kTitle); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, nullptr, kTitle)) {
        if (FindWindowExW(hWnd, nullptr, nullptr, kMarker) != nullptr) {
            return hWnd;
        }
    }
    return nullptr;
}

bool Answers(HWND hWnd) {
    DWORD_PTR nResult = 0;
    return SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &nResult) != 0;
}

int RowCount(HWND hMain) {
    const HWND hList = FindWindowExW(hMain, nullptr, WC_LISTVIEWW, nullptr);
    DWORD_PTR nRows = 0;
    if (hList == nullptr ||
        !SendMessageTimeoutW(hList, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 2000, &nRows)) {
        return -1;
    }
    return static_cast<int>(nRows);
}

// Polls the condition every 50 ms until it holds or nTimeoutMs have passed.
template <class Condition> int WaitFor(unsigned long nTimeoutMs, Condition bCondition) {
    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    while (!bCondition()) {
        if (GetTickCount64() >= nDeadline) {
            return kTimedOut;
        }
        Sleep(50);
    }
    return kDone;
}

unsigned long Number(const wchar_t* pszText) {
    return wcstoul(pszText, nullptr, 0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e-probe wait-ready|wait-rows|wait-gone|rect|post ...\n");
        return kUsage;
    }
    const std::wstring strCommand = argv[1];
    if (strCommand == L"wait-ready" && argc == 3) {
        return WaitFor(Number(argv[2]), [] {
            const HWND hMain = FindMainWindow();
            return hMain != nullptr && Answers(hMain) && RowCount(hMain) >= 0;
        });
    }
    if (strCommand == L"wait-rows" && argc == 4) {
        const int nRows = static_cast<int>(Number(argv[2]));
        return WaitFor(Number(argv[3]), [&] {
            const HWND hMain = FindMainWindow();
            return hMain != nullptr && RowCount(hMain) >= nRows;
        });
    }
    if (strCommand == L"wait-gone" && argc == 3) {
        return WaitFor(Number(argv[2]), [] { return FindMainWindow() == nullptr; });
    }
    const HWND hMain = FindMainWindow();
    if (strCommand == L"rect" && argc == 2) {
        RECT rect{};
        if (hMain == nullptr || !GetWindowRect(hMain, &rect)) {
            return kNoWindow;
        }
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top);
        return kDone;
    }
    if (strCommand == L"post" && (argc == 3 || argc == 4)) {
        if (hMain == nullptr) {
            return kNoWindow;
        }
        const WPARAM wParam = argc == 4 ? Number(argv[3]) : 0;
        return PostMessageW(hMain, static_cast<UINT>(Number(argv[2])), wParam, 0) ? kDone
                                                                                  : kNoWindow;
    }
    std::fprintf(stderr, "e2e-probe: unknown command or wrong arguments\n");
    return kUsage;
}
