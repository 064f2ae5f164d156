// clipbench.exe: how long the small clip window takes to come up. Starts the korvex.exe beside
// it (with its settings as they are), fills the history with 200 entries of 1 KB, then opens the
// window 100 times from another program's window with an injected Ctrl+Alt+0 and measures the
// time from the injection until the window is shown and painted (no part of it or of its list
// left to paint). Prints the median and the 95th percentile.
//   clipbench [openings]     (default 100)
// Run it in a Wine prefix: bash scripts/with-wine.sh wine build/windows/bin/clipbench.exe

#include "tests/support/win/ChildProcess.h"
#include "tests/support/win/Keyboard.h"
#include "tests/support/win/MessagePump.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kMarkerTitle[] = L"{E35FF78A-0086-4009-A154-38F6E13D084F}";
constexpr UINT kMsgShowClipWindow = 0x402;
constexpr UINT kCmdFileExit = 32780;
constexpr int kSmallClipListId = 1000;
constexpr int kEntries = 200;
constexpr size_t kEntryLength = 512; // UTF-16 characters: 1 KB

HWND FindMainWindow() {
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, nullptr, L"Korvex"); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, nullptr, L"Korvex")) {
        if (FindWindowExW(hWnd, nullptr, nullptr, kMarkerTitle) != nullptr) {
            return hWnd;
        }
    }
    return nullptr;
}

HWND FindSmallClip(HWND hMain) {
    struct SEARCH {
        HWND hMain;
        HWND hFound;
    } search{hMain, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* p = reinterpret_cast<SEARCH*>(lParam);
            if (GetWindow(hWnd, GW_OWNER) == p->hMain && IsWindowVisible(hWnd) &&
                GetDlgItem(hWnd, kSmallClipListId) != nullptr) {
                p->hFound = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

bool IsPainted(HWND hWnd) {
    const HWND hList = GetDlgItem(hWnd, kSmallClipListId);
    return !GetUpdateRect(hWnd, nullptr, FALSE) && hList != nullptr &&
           !GetUpdateRect(hList, nullptr, FALSE);
}

bool CopyText(const std::wstring& strText) {
    if (!wintest::PumpUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000)) {
        return false;
    }
    EmptyClipboard();
    const size_t nBytes = (strText.size() + 1) * sizeof(wchar_t);
    HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, nBytes);
    if (hData != nullptr) {
        std::memcpy(GlobalLock(hData), strText.c_str(), nBytes);
        GlobalUnlock(hData);
        if (SetClipboardData(CF_UNICODETEXT, hData) == nullptr) {
            GlobalFree(hData);
        }
    }
    CloseClipboard();
    return hData != nullptr;
}

int RowCount(HWND hMain) {
    const HWND hList = FindWindowExW(hMain, nullptr, L"SysListView32", nullptr);
    return hList ? static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

// Waits for fnDone, asking it about every millisecond while this thread's messages flow.
template <class F> bool WaitFine(F fnDone, DWORD nTimeoutMs) {
    const ULONGLONG nEnd = GetTickCount64() + nTimeoutMs;
    while (!fnDone()) {
        if (GetTickCount64() > nEnd) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        wintest::PumpPending();
    }
    return true;
}

double Percentile(std::vector<double> vec, double dShare) {
    std::sort(vec.begin(), vec.end());
    const size_t nIndex = static_cast<size_t>(dShare * static_cast<double>(vec.size() - 1) + 0.5);
    return vec[nIndex];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int nOpenings = 100;
    if (argc > 1 && (nOpenings = static_cast<int>(std::wcstol(argv[1], nullptr, 10))) <= 0) {
        std::fprintf(stderr, "usage: clipbench [openings]\n");
        return 1;
    }
    if (FindMainWindow() != nullptr) {
        std::fprintf(stderr, "clipbench: another Korvex is running; end it first\n");
        return 1;
    }
    wintest::CChildProcess oKorvex;
    HWND hMain = nullptr;
    if (!oKorvex.Start(L"\"" + wintest::ProgramPath(L"korvex.exe") + L"\"") ||
        !wintest::PumpUntil([&] { return (hMain = FindMainWindow()) != nullptr; }, 20000)) {
        std::fprintf(stderr, "clipbench: korvex.exe did not start\n");
        return 1;
    }

    // A full history: 200 entries of 1 KB, each different.
    for (int i = 0; i < kEntries; ++i) {
        std::wstring strText(kEntryLength, L'x');
        const std::wstring strNumber = std::to_wstring(i);
        strText.replace(0, strNumber.size(), strNumber);
        if (!CopyText(strText) ||
            !wintest::PumpUntil([&] { return RowCount(hMain) == std::min(i + 1, kEntries); })) {
            std::fprintf(stderr, "clipbench: entry %d was not recorded\n", i);
            PostMessageW(hMain, WM_COMMAND, kCmdFileExit, 0);
            return 1;
        }
    }

    // The program the user works in.
    const HWND hTarget = CreateWindowExW(0, L"STATIC", L"clipbench target", WS_OVERLAPPEDWINDOW,
                                         600, 300, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hTarget, SW_SHOW);

    std::vector<double> vecMs;
    int nMissed = 0;
    LARGE_INTEGER nFrequency;
    QueryPerformanceFrequency(&nFrequency);
    for (int i = 0; i < nOpenings; ++i) {
        SetForegroundWindow(hTarget);
        wintest::PumpUntil([&] { return GetForegroundWindow() == hTarget; }, 2000);
        LARGE_INTEGER nStart;
        QueryPerformanceCounter(&nStart);
        wintest::InjectKeys(wintest::Chord({VK_CONTROL, VK_MENU, '0'}));
        HWND hSmall = nullptr;
        if (!WaitFine([&] { return (hSmall = FindSmallClip(hMain)) != nullptr; }, 1000)) {
            // The desktop can drop an injected modifier right after a change of the foreground;
            // such an opening is not timed.
            ++nMissed;
            continue;
        }
        if (!WaitFine([&] { return IsPainted(hSmall); }, 5000)) {
            std::fprintf(stderr, "clipbench: opening %d: not painted within 5 s\n", i);
        }
        LARGE_INTEGER nEnd;
        QueryPerformanceCounter(&nEnd);
        vecMs.push_back(1000.0 * static_cast<double>(nEnd.QuadPart - nStart.QuadPart) /
                        static_cast<double>(nFrequency.QuadPart));
        PostMessageW(hMain, kMsgShowClipWindow, 0, 0);
        WaitFine([&] { return FindSmallClip(hMain) == nullptr; }, 5000);
    }
    DestroyWindow(hTarget);
    PostMessageW(hMain, WM_COMMAND, kCmdFileExit, 0);
    oKorvex.WaitForExit(10000);

    if (vecMs.empty()) {
        std::fprintf(stderr, "clipbench: no opening was measured\n");
        return 1;
    }
    std::printf("small clip window, %d entries of 1 KB, %zu openings (%d hotkeys lost by the "
                "desktop, not timed): median %.1f ms, 95th percentile %.1f ms\n",
                kEntries, vecMs.size(), nMissed, Percentile(vecMs, 0.5), Percentile(vecMs, 0.95));
    return 0;
}
