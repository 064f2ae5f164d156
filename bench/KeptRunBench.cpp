// keptrunbench.exe: the kept history in the korvex.exe beside it, under Wine, in a scratch
// prefix (bash scripts/with-wine.sh wine build/windows/bin/keptrunbench.exe). Korvex keeps its
// file in a folder of this program's (LOCALAPPDATA for the Korvex it starts). It prints:
//   - a start with 999 kept entries of 10,240 characters beside an empty start: from the
//     process's creation until its main window answers, and whether the 999 rows are there then;
//     beside them the floor, keptfloor.exe, with no texts and with the same texts read from a
//     plain file (9 starts of each, taken in turn);
//   - Korvex's CPU time per recorded copy of 1,024 characters into a full history of 200, copies
//     20 ms apart, with "All entries" and with "Nothing" (5 runs of 200 copies each);
//   - a 5,000,000-character copy, then a short one 100 ms later: the time from the short copy to
//     its row, with either mode (6 of each).
// Korvex's KeepHistory, BufferSize and MaxClipboardCopySize are left as they were found.

#include "bench/BenchClipboard.h"
#include "bench/BenchPorts.h"
#include "history/KorvexDoc.h"
#include "store/Win32HistoryFileStore.h"
#include "tests/e2e/scenarios/KorvexContract.h"
#include "tests/e2e/scenarios/KorvexProcess.h"
#include "tests/e2e/scenarios/RemoteListView.h"
#include "tests/support/win/ChildProcess.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/Registry.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using bench::NowUs;

const std::wstring kOptions = std::wstring(e2e::kSettingsKey) + L"\\Options";

double Median(std::vector<double> vec) {
    if (vec.empty()) {
        return -1;
    }
    std::sort(vec.begin(), vec.end());
    return vec[vec.size() / 2];
}

// The values this program changes, put back as it ends.
class CSavedOptions {
public:
    CSavedOptions() {
        for (const wchar_t* pszName : kNames) {
            m_vecSaved.push_back(wintest::ReadRegistryDWord(HKEY_CURRENT_USER, kOptions, pszName));
        }
    }
    ~CSavedOptions() {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            if (m_vecSaved[i]) {
                wintest::WriteRegistryDWord(HKEY_CURRENT_USER, kOptions, kNames[i], *m_vecSaved[i]);
            } else {
                wintest::DeleteRegistryValue(HKEY_CURRENT_USER, kOptions, kNames[i]);
            }
        }
    }

private:
    static constexpr const wchar_t* kNames[] = {L"KeepHistory", L"BufferSize",
                                                L"MaxClipboardCopySize"};
    std::vector<std::optional<DWORD>> m_vecSaved;
};

void SetOption(const wchar_t* pszName, DWORD nValue) {
    wintest::WriteRegistryDWord(HKEY_CURRENT_USER, kOptions, pszName, nValue);
}

bool Answers(HWND hWnd, DWORD nTimeoutMs = 10000) {
    DWORD_PTR nResult = 0;
    return SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, nTimeoutMs, &nResult) != 0;
}

// One start of a program: ms from its creation until its main window answers; for Korvex, the
// rows then.
struct START {
    double dMs = -1;
    int nRows = -1;
};

HWND OwnedBy(HWND hFound, DWORD nProcess) {
    DWORD nOwner = 0;
    GetWindowThreadProcessId(hFound, &nOwner);
    return nOwner == nProcess ? hFound : nullptr;
}

START TimeStart(bool bFloor, const std::wstring& strArguments = L"") {
    START oStart;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring strLine = L"\"" + wintest::ProgramPath(bFloor ? L"keptfloor.exe" : L"korvex.exe") +
                           L"\" " + strArguments;
    const double dFrom = NowUs();
    if (!CreateProcessW(nullptr, strLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return oStart;
    }
    CloseHandle(pi.hThread);
    HWND hMain = nullptr;
    while (hMain == nullptr && NowUs() - dFrom < 30e6 &&
           WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        hMain =
            OwnedBy(bFloor ? FindWindowW(L"KorvexKeptFloor", nullptr) : e2e::FindKorvexMainWindow(),
                    pi.dwProcessId);
        Sleep(1); // not spinning: the start under measure needs the processors and the server
    }
    if (hMain != nullptr && Answers(hMain)) {
        oStart.dMs = (NowUs() - dFrom) / 1000;
        if (!bFloor) {
            oStart.nRows =
                e2e::CRemoteListView(FindWindowExW(hMain, nullptr, L"SysListView32", nullptr))
                    .RowCount();
        }
        PostMessageW(hMain, bFloor ? WM_CLOSE : WM_COMMAND, bFloor ? 0 : e2e::kCmdFileExit, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hProcess);
    return oStart;
}

// 999 entries of 10,240 characters, written as Korvex writes them.
bool WriteKeptFile(const std::wstring& strPath, size_t nUnits) {
    CNoClipboard oClipboard;
    CBenchSettings oSettings(999);
    CKorvexDoc oDoc(oClipboard, oSettings);
    CWin32HistoryFileStore oStore(strPath);
    CHistoryWriter oWriter(oDoc, oStore, KeepMode::All);
    oDoc.SetJournal(&oWriter);
    for (uint32_t i = 0; i < 999; ++i) {
        oDoc.AddItem(BenchLetters(nUnits, i));
    }
    oDoc.SetJournal(nullptr);
    return oWriter.IsWriting();
}

// The same texts, plain, one after the other, for the floor.
bool WritePlainFile(const std::wstring& strPath, size_t nUnits) {
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    bool bWritten = hFile != INVALID_HANDLE_VALUE;
    for (uint32_t i = 0; bWritten && i < 999; ++i) {
        const std::u16string str = BenchLetters(nUnits, i);
        DWORD nDone = 0;
        bWritten =
            WriteFile(hFile, str.data(), static_cast<DWORD>(2 * str.size()), &nDone, nullptr) &&
            nDone == 2 * str.size();
    }
    if (hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(hFile);
    }
    return bWritten;
}

void PrintStarts(const char* pszWhat, std::vector<double> vecMs, const std::string& strMore) {
    std::sort(vecMs.begin(), vecMs.end());
    std::printf("| %s | %.0f ms (%.0f-%.0f)%s |\n", pszWhat, Median(vecMs), vecMs.front(),
                vecMs.back(), strMore.c_str());
}

void MeasureStarts(const std::wstring& strPath, const std::wstring& strPlain, size_t nUnits) {
    if (!WriteKeptFile(strPath, nUnits) || !WritePlainFile(strPlain, nUnits)) {
        std::printf("the kept files could not be written: %ls\n", strPath.c_str());
        return;
    }
    SetOption(L"BufferSize", 999);
    const std::wstring strFloorKept = L"\"" + strPlain + L"\" " + std::to_wstring(nUnits);
    std::vector<double> vecEmpty, vecKept, vecFloorEmpty, vecFloorKept;
    int nRowsKept = 999;
    for (int i = 0; i < 10; ++i) { // the first of each warms up
        SetOption(L"KeepHistory", 0);
        const START oEmpty = TimeStart(false);
        SetOption(L"KeepHistory", 2);
        const START oKept = TimeStart(false);
        const START oFloorEmpty = TimeStart(true);
        const START oFloorKept = TimeStart(true, strFloorKept);
        if (i > 0) {
            vecEmpty.push_back(oEmpty.dMs);
            vecKept.push_back(oKept.dMs);
            vecFloorEmpty.push_back(oFloorEmpty.dMs);
            vecFloorKept.push_back(oFloorKept.dMs);
            nRowsKept = std::min(nRowsKept, oKept.nRows);
        }
    }
    const std::string strKept = "999 x " + std::to_string(nUnits) + " kept";
    PrintStarts("start until the main window answers, empty", vecEmpty, "");
    PrintStarts(("start until the main window answers, " + strKept).c_str(), vecKept,
                ", " + std::to_string(nRowsKept) + " rows at once at the least, " +
                    std::to_string(static_cast<int>(Median(vecKept) - Median(vecEmpty))) +
                    " ms more");
    PrintStarts("floor: a window, no texts", vecFloorEmpty, "");
    PrintStarts(("floor: a window, the same texts read plain, " + strKept).c_str(), vecFloorKept,
                ", " +
                    std::to_string(static_cast<int>(Median(vecFloorKept) - Median(vecFloorEmpty))) +
                    " ms more");
}

double KorvexCpuMs(HANDLE hProcess) {
    FILETIME ftCreate, ftExit, ftKernel, ftUser;
    if (!GetProcessTimes(hProcess, &ftCreate, &ftExit, &ftKernel, &ftUser)) {
        return 0;
    }
    auto Ticks = [](const FILETIME& ft) {
        return uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime;
    };
    return static_cast<double>(Ticks(ftKernel) + Ticks(ftUser)) / 1e4;
}

// Waits (bounded) until row 0 of the list shows a text that starts as strText does; the moment
// it did, in microseconds, or a negative number.
double WaitForHead(HWND hList, const std::wstring& strText) {
    const e2e::CRemoteListView oList(hList);
    const std::wstring strShown = strText.substr(0, 100);
    const double dFrom = NowUs();
    while (NowUs() - dFrom < 20e6) {
        if (oList.Text(0, e2e::kColumnText).starts_with(strShown)) {
            return NowUs();
        }
        wintest::PumpPending();
    }
    return -1;
}

void MeasureCopies() {
    SetOption(L"KeepHistory", 0);
    SetOption(L"BufferSize", 200);
    SetOption(L"MaxClipboardCopySize", 16);
    e2e::CKorvexProcess oKorvex;
    if (const std::string strFailure = oKorvex.Start(L""); !strFailure.empty()) {
        std::printf("Korvex: %s\n", strFailure.c_str());
        return;
    }
    const HWND hList = oKorvex.ListWindow();
    const HWND hOwner = CreateWindowExW(0, L"STATIC", L"keptrunbench", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, nullptr, nullptr);
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, oKorvex.ProcessId());
    uint32_t nSeed = 1;
    auto Copy = [&](size_t nUnits) {
        const std::u16string str = BenchLetters(nUnits, ++nSeed);
        const std::wstring strText(str.begin(), str.end());
        return bench::CopyText(hOwner, strText) ? strText : std::wstring();
    };
    for (int i = 0; i < 200; ++i) { // the history full
        Copy(1024);
    }
    WaitForHead(hList, Copy(1024));
    auto SetMode = [&](DWORD nMode) {
        SetOption(L"KeepHistory", nMode);
        PostMessageW(oKorvex.MainWindow(), e2e::kMsgOptionsChanged, 0, 0);
        Answers(oKorvex.MainWindow());
    };

    std::vector<double> arrCpu[3]; // by mode
    for (int nRun = 0; nRun < 10; ++nRun) {
        const DWORD nMode = nRun % 2 == 0 ? 0 : 2;
        SetMode(nMode);
        const double dCpu = KorvexCpuMs(hProcess);
        std::wstring strLast;
        for (int i = 0; i < 200; ++i) {
            const double dFrom = NowUs();
            strLast = Copy(1024);
            while (NowUs() - dFrom < 20000) {
                wintest::PumpPending();
                Sleep(1);
            }
        }
        WaitForHead(hList, strLast);
        arrCpu[nMode].push_back((KorvexCpuMs(hProcess) - dCpu) / 200);
    }
    std::printf(
        "| CPU per recorded 1,024-character copy, full history of 200, Nothing | %.2f ms |\n",
        Median(arrCpu[0]));
    std::printf("| the same with All entries | %.2f ms |\n", Median(arrCpu[2]));

    std::vector<double> arrAfter[3], arrLarge[3];
    for (int nRun = 0; nRun < 12; ++nRun) {
        const DWORD nMode = nRun % 2 == 0 ? 0 : 2;
        SetMode(nMode);
        // Both texts made beforehand; the 100 ms count from the large one on the clipboard.
        const std::u16string strLarge16 = BenchLetters(5'000'000, ++nSeed);
        const std::wstring strLarge(strLarge16.begin(), strLarge16.end());
        const std::u16string strShort16 = BenchLetters(20, ++nSeed);
        const std::wstring strShort(strShort16.begin(), strShort16.end());
        bench::CopyText(hOwner, strLarge);
        const double dLargeAt = NowUs();
        while (NowUs() - dLargeAt < 100000) {
            wintest::PumpPending();
            Sleep(1);
        }
        const double dShortFrom = NowUs();
        bench::CopyText(hOwner, strShort);
        const double dShortAt = WaitForHead(hList, strShort);
        arrAfter[nMode].push_back((dShortAt - dShortFrom) / 1000);
        // The large one is row 1 by now.
        arrLarge[nMode].push_back(e2e::CRemoteListView(hList)
                                          .Text(1, e2e::kColumnText)
                                          .starts_with(strLarge.substr(0, 100))
                                      ? 1
                                      : 0);
    }
    for (const DWORD nMode : {0, 2}) {
        std::printf("| a short copy 100 ms after a 5,000,000-character one, to its row, %s | "
                    "%.1f ms (%.1f-%.1f), the large one recorded %d of %d |\n",
                    nMode == 0 ? "Nothing" : "All entries", Median(arrAfter[nMode]),
                    *std::min_element(arrAfter[nMode].begin(), arrAfter[nMode].end()),
                    *std::max_element(arrAfter[nMode].begin(), arrAfter[nMode].end()),
                    static_cast<int>(std::count(arrLarge[nMode].begin(), arrLarge[nMode].end(), 1)),
                    static_cast<int>(arrLarge[nMode].size()));
    }
    CloseHandle(hProcess);
    DestroyWindow(hOwner);
    oKorvex.Stop();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // keptrunbench [start|copies [characters of each kept entry]]: one part only.
    const std::wstring strPart = argc > 1 ? argv[1] : L"";
    const size_t nUnits = argc > 2 ? static_cast<size_t>(_wtoi(argv[2])) : 10240;
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    const std::wstring strFolder = std::wstring(szTemp) + L"korvex-keptrunbench";
    CreateDirectoryW(strFolder.c_str(), nullptr);
    SetEnvironmentVariableW(L"LOCALAPPDATA", strFolder.c_str());
    const std::wstring strPath = strFolder + L"\\Korvex\\History.dat";
    {
        const CSavedOptions oSaved;
        std::printf("| measure | median (min-max) |\n|---|---|\n");
        if (strPart != L"copies") {
            MeasureStarts(strPath, strFolder + L"\\plain.txt", nUnits);
        }
        if (strPart != L"start") {
            MeasureCopies();
        }
    }
    CWin32HistoryFileStore(strPath).Delete();
    DeleteFileW((strFolder + L"\\plain.txt").c_str());
    RemoveDirectoryW((strFolder + L"\\Korvex").c_str());
    RemoveDirectoryW(strFolder.c_str());
    return 0;
}
