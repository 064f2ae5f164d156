// clipbench.exe: how long the small clip window takes to come up, measured as a user's key press
// arrives. For 10, 200 and 999 entries of 1 KB it starts the korvex.exe beside it (with a bound
// of 999 entries), fills the history, and has xkeymap (a native program on the same X display)
// send Ctrl+Alt+0 into the X server with XTEST and time it to the pop-up's MapNotify, then Esc.
// The floor is popupfloor.exe: a window made beforehand, shown on the same hotkey. With 999
// entries it then times find-by-typing in the open window: a typed character (a Unicode key
// packet sent with SendInput) until the list holds the filtered rows.
//   clipbench <xkeymap's Linux path> [openings]     (default 100 per row)
// Run it with bash scripts/clip-bench.sh, which builds both and makes a fresh Wine prefix.

#include "tests/support/win/ChildProcess.h"
#include "tests/support/win/LinuxCommand.h"
#include "tests/support/win/Registry.h"
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
constexpr UINT kCmdFileExit = 32780;
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

// Runs xkeymap for nOpenings of a window at least 300 x 150 and prints its line after strLabel.
bool RunXKeyMap(const std::string& strXKeyMap, int nOpenings, const char* pszLabel) {
    wintest::CLinuxCommand oCommand;
    if (!oCommand.Start(strXKeyMap + " " + std::to_string(nOpenings) + " 300 150") ||
        !oCommand.WaitForEnd(static_cast<DWORD>(nOpenings) * 5000 + 10000)) {
        std::fprintf(stderr, "clipbench: xkeymap did not run or did not end\n");
        return false;
    }
    std::string strLine = oCommand.Output();
    while (!strLine.empty() && (strLine.back() == '\n' || strLine.back() == '\r')) {
        strLine.pop_back();
    }
    std::printf("| %s | %s |\n", pszLabel, strLine.c_str());
    std::fflush(stdout);
    return oCommand.ExitStatus() == 0;
}

// The median and 95th percentile of times in ms, as "median x ms, 95th percentile y ms".
std::string Summary(std::vector<double> vecMs) {
    std::sort(vecMs.begin(), vecMs.end());
    const auto At = [&](double dShare) {
        return vecMs[std::min(vecMs.size() - 1, static_cast<size_t>(dShare * vecMs.size()))];
    };
    char aLine[96];
    std::snprintf(aLine, sizeof aLine, "median %.1f ms, 95th percentile %.1f ms", At(0.5),
                  At(0.95));
    return aLine;
}

double NowMs() {
    LARGE_INTEGER nNow{};
    LARGE_INTEGER nFrequency{};
    QueryPerformanceCounter(&nNow);
    QueryPerformanceFrequency(&nFrequency);
    return static_cast<double>(nNow.QuadPart) * 1000.0 / static_cast<double>(nFrequency.QuadPart);
}

void TypeCharacter(wchar_t ch) {
    INPUT aInputs[2] = {};
    for (int i = 0; i < 2; ++i) {
        aInputs[i].type = INPUT_KEYBOARD;
        aInputs[i].ki.wScan = ch;
        aInputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, aInputs, sizeof(INPUT));
}

// Opens the small clip window of a Korvex with nEntries rows, then, nTimes over, types a digit
// and waits until its list holds fewer rows, and Esc until it holds all again.
bool MeasureFilter(HWND hMain, int nEntries, int nTimes) {
    HWND hList = nullptr;
    const auto FindList = [&] {
        for (HWND hWnd = GetTopWindow(nullptr); hWnd != nullptr;
             hWnd = GetWindow(hWnd, GW_HWNDNEXT)) {
            if (GetWindow(hWnd, GW_OWNER) == hMain && IsWindowVisible(hWnd) &&
                (hList = GetDlgItem(hWnd, 1000)) != nullptr && GetForegroundWindow() == hWnd) {
                return true;
            }
        }
        return false;
    };
    const auto Rows = [&] { return static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0)); };
    PostMessageW(hMain, 0x402, 0, 0); // "Show Clip Window"
    if (!wintest::PumpUntil(FindList, 5000)) {
        std::fprintf(stderr, "clipbench: the small clip window did not open\n");
        return false;
    }
    std::vector<double> vecMs;
    for (int i = 0; i < nTimes; ++i) {
        const double nStart = NowMs();
        TypeCharacter(static_cast<wchar_t>(L'1' + i % 9));
        // Asked every millisecond: asking without a pause would take the CPU Korvex needs.
        while (Rows() == nEntries && NowMs() - nStart < 2000) {
            Sleep(1);
        }
        if (Rows() < nEntries) {
            vecMs.push_back(NowMs() - nStart);
        }
        wintest::InjectKeys(wintest::Chord({VK_ESCAPE}));
        wintest::PumpUntil([&] { return Rows() == nEntries; }, 2000);
    }
    wintest::InjectKeys(wintest::Chord({VK_ESCAPE}));
    if (vecMs.empty()) {
        std::fprintf(stderr, "clipbench: typing did not filter the rows\n");
        return false;
    }
    std::printf("| find-by-typing, %d entries: a typed key until the list holds the filtered rows "
                "| %zu keys: %s |\n",
                nEntries, vecMs.size(), Summary(vecMs).c_str());
    std::fflush(stdout);
    return true;
}

// Starts korvex.exe, gives it nEntries different entries of 1 KB and measures its openings.
bool MeasureKorvex(const std::string& strXKeyMap, int nEntries, int nOpenings) {
    wintest::CChildProcess oKorvex;
    HWND hMain = nullptr;
    if (!oKorvex.Start(L"\"" + wintest::ProgramPath(L"korvex.exe") + L"\"") ||
        !wintest::PumpUntil([&] { return (hMain = FindMainWindow()) != nullptr; }, 20000)) {
        std::fprintf(stderr, "clipbench: korvex.exe did not start\n");
        return false;
    }
    bool bOk = true;
    for (int i = 0; i < nEntries && bOk; ++i) {
        std::wstring strText(kEntryLength, L'x');
        const std::wstring strNumber = std::to_wstring(i);
        strText.replace(0, strNumber.size(), strNumber);
        bOk = CopyText(strText) && wintest::PumpUntil([&] { return RowCount(hMain) == i + 1; });
        if (!bOk) {
            std::fprintf(stderr, "clipbench: entry %d was not recorded\n", i);
        }
    }
    if (bOk) {
        const std::string strLabel = "Korvex, " + std::to_string(nEntries) + " entries";
        bOk = RunXKeyMap(strXKeyMap, nOpenings, strLabel.c_str());
    }
    if (bOk && nEntries == 999) {
        bOk = MeasureFilter(hMain, nEntries, nOpenings);
    }
    PostMessageW(hMain, WM_COMMAND, kCmdFileExit, 0);
    oKorvex.WaitForExit(10000);
    return bOk;
}

bool MeasureFloor(const std::string& strXKeyMap, int nOpenings) {
    wintest::CChildProcess oFloor;
    HWND hPopup = nullptr;
    if (!oFloor.Start(L"\"" + wintest::ProgramPath(L"popupfloor.exe") + L"\"") ||
        !wintest::PumpUntil(
            [&] { return (hPopup = FindWindowW(L"KorvexPopupFloor", nullptr)) != nullptr; },
            20000)) {
        std::fprintf(stderr, "clipbench: popupfloor.exe did not start\n");
        return false;
    }
    const bool bOk = RunXKeyMap(strXKeyMap, nOpenings, "floor: a made window shown");
    PostMessageW(hPopup, WM_CLOSE, 0, 0);
    oFloor.WaitForExit(10000);
    return bOk;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int nOpenings = 100;
    if (argc < 2 ||
        (argc > 2 && (nOpenings = static_cast<int>(std::wcstol(argv[2], nullptr, 10))) <= 0)) {
        std::fprintf(stderr, "usage: clipbench <xkeymap's Linux path> [openings]\n");
        return 1;
    }
    std::string strXKeyMap;
    for (const wchar_t* p = argv[1]; *p != L'\0'; ++p) {
        strXKeyMap.push_back(static_cast<char>(*p));
    }
    if (FindMainWindow() != nullptr) {
        std::fprintf(stderr, "clipbench: another Korvex is running; end it first\n");
        return 1;
    }
    const std::wstring strOptions = L"Software\\Brenwick\\Korvex\\Options";
    wintest::CRegistryCleanup oCleanup;
    oCleanup.Value(HKEY_CURRENT_USER, strOptions, L"BufferSize");
    wintest::WriteRegistryDWord(HKEY_CURRENT_USER, strOptions, L"BufferSize", 999);

    // The program the user works in.
    const HWND hTarget = CreateWindowExW(0, L"STATIC", L"clipbench target", WS_OVERLAPPEDWINDOW,
                                         600, 300, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hTarget, SW_SHOW);
    SetForegroundWindow(hTarget);

    std::printf("| from Ctrl+Alt+0 at the X server to the window mapped | %d openings each |\n"
                "|---|---|\n",
                nOpenings);
    bool bOk = true;
    for (int nEntries : {10, 200, 999}) {
        bOk = MeasureKorvex(strXKeyMap, nEntries, nOpenings) && bOk;
    }
    bOk = MeasureFloor(strXKeyMap, nOpenings) && bOk;
    DestroyWindow(hTarget);
    return bOk ? 0 : 1;
}
