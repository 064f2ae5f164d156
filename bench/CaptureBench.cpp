// capturebench.exe: what a copy costs a recorder, for korvex.exe beside it and for a floor, a
// minimal Wine program doing the same work (capturebench.exe --floor, below).
//
//   capturebench            (under Wine, beside korvex.exe, in a scratch prefix:
//                            bash scripts/capture-bench.sh)
//
// For each recorder in turn it starts it fresh and, with the history holding 10, 200 and 999
// entries (the bound set to that many, so that each further copy trims the oldest), measures
// the time from a copy to its text in row 0 of the recorder's list, made by this program and by
// xclip (from xclip's start and from the moment Wine has taken the copy over), and the
// recorder's CPU time per recorded copy (copies 20 ms apart, the list left alone meanwhile).
// With 999 entries it then measures its CPU time at rest, 500 KB and 5 MB texts, and bursts of
// 100 distinct copies 0.5, 2 and 20 ms apart (recorded, doubled, out of order, read from the
// list afterwards). It reads the recorder's working set and peak just after start, with the
// history full, and after the first 5 MB text. It prints one markdown table: korvex.exe | floor;
// a failure to start or fill a recorder is printed instead, with a non-zero exit code.
// Korvex's "BufferSize" and "MaxClipboardCopySize" are raised for the run and left as found.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchClipboard.h"
#include "tests/e2e/scenarios/KorvexContract.h"
#include "tests/e2e/scenarios/KorvexProcess.h"
#include "tests/e2e/scenarios/RemoteListView.h"
#include "tests/support/win/ChildProcess.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/Registry.h"
#include "tests/support/win/X11Clipboard.h"

namespace {

using bench::NowUs;

// ---- The floor ---------------------------------------------------------------------------------

constexpr wchar_t kFloorClass[] = L"CaptureBenchFloor";
constexpr UINT kMsgFloorSetLimit = WM_APP;  // wParam: the number of rows kept
constexpr UINT kMsgFloorRetry = WM_APP + 1; // the clipboard was held: read again
constexpr size_t kRowCharacters = 200;
constexpr int kFloorRetries = 100;

// A top-level window with a report list like Korvex's, in the clipboard viewer chain. Each change
// is read once (by its sequence number), kept whole, and shown as row 0 (its first 200
// characters, in Korvex's text column); the list and the texts are trimmed to the limit. A
// clipboard held by another program is read again from the message loop, never by sleeping.
struct FLOOR {
    HWND hList = nullptr;
    HWND hNext = nullptr;
    DWORD nHandled = 0;
    int nRetries = 0;
    size_t nLimit = 999;
    std::deque<std::wstring> deqTexts;
};

void FloorTrim(FLOOR& rFloor) {
    while (rFloor.deqTexts.size() > rFloor.nLimit) {
        rFloor.deqTexts.pop_back();
        SendMessageW(rFloor.hList, LVM_DELETEITEM, rFloor.deqTexts.size(), 0);
    }
}

void FloorRead(HWND hWnd, FLOOR& rFloor) {
    if (GetClipboardSequenceNumber() == rFloor.nHandled) {
        return;
    }
    if (!OpenClipboard(hWnd)) {
        if (++rFloor.nRetries < kFloorRetries) {
            PostMessageW(hWnd, kMsgFloorRetry, 0, 0);
        }
        return;
    }
    rFloor.nRetries = 0;
    std::optional<std::wstring> optText;
    if (HANDLE hData = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* pText = static_cast<const wchar_t*>(GlobalLock(hData))) {
            optText.emplace(pText, wcsnlen(pText, GlobalSize(hData) / sizeof(wchar_t)));
            GlobalUnlock(hData);
        }
    }
    rFloor.nHandled = GetClipboardSequenceNumber();
    CloseClipboard();
    if (!optText) {
        return;
    }
    rFloor.deqTexts.push_front(std::move(*optText));
    std::wstring strRow = rFloor.deqTexts.front().substr(0, kRowCharacters);
    LVITEMW oItem{};
    oItem.mask = LVIF_TEXT;
    oItem.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(rFloor.hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&oItem));
    oItem.iSubItem = e2e::kColumnText;
    oItem.pszText = strRow.data();
    SendMessageW(rFloor.hList, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&oItem));
    FloorTrim(rFloor);
}

LRESULT CALLBACK FloorProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto* pFloor = reinterpret_cast<FLOOR*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    switch (nMsg) {
    case WM_CREATE: {
        pFloor = static_cast<FLOOR*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pFloor));
        pFloor->hList = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0,
                                        0, 600, 400, hWnd, nullptr, nullptr, nullptr);
        const wchar_t* const arrTitles[] = {L"", L"No", L"Text", L"Time"};
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNW oColumn{};
            oColumn.mask = LVCF_TEXT | LVCF_WIDTH;
            oColumn.cx = i == e2e::kColumnText ? 400 : 60;
            oColumn.pszText = const_cast<wchar_t*>(arrTitles[i]);
            SendMessageW(pFloor->hList, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&oColumn));
        }
        pFloor->nHandled = GetClipboardSequenceNumber(); // what is there already is no copy
        pFloor->hNext = SetClipboardViewer(hWnd);
        return pFloor->hList != nullptr ? 0 : -1;
    }
    case WM_DRAWCLIPBOARD:
        FloorRead(hWnd, *pFloor);
        if (pFloor->hNext != nullptr) {
            SendMessageW(pFloor->hNext, nMsg, wParam, lParam);
        }
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wParam) == pFloor->hNext) {
            pFloor->hNext = reinterpret_cast<HWND>(lParam);
        } else if (pFloor->hNext != nullptr) {
            SendMessageW(pFloor->hNext, nMsg, wParam, lParam);
        }
        return 0;
    case kMsgFloorRetry:
        FloorRead(hWnd, *pFloor);
        return 0;
    case kMsgFloorSetLimit:
        pFloor->nLimit = wParam;
        FloorTrim(*pFloor);
        return 0;
    case WM_SIZE:
        MoveWindow(pFloor->hList, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        ChangeClipboardChain(hWnd, pFloor->hNext);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
}

int RunFloor(bool bShown) {
    INITCOMMONCONTROLSEX oControls{sizeof oControls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&oControls);
    WNDCLASSW oClass{};
    oClass.lpfnWndProc = &FloorProc;
    oClass.hInstance = GetModuleHandleW(nullptr);
    oClass.lpszClassName = kFloorClass;
    RegisterClassW(&oClass);
    FLOOR oFloor;
    HWND hWnd =
        CreateWindowExW(0, kFloorClass, L"capturebench floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 700, 500, nullptr, nullptr, oClass.hInstance, &oFloor);
    if (hWnd == nullptr) {
        return 1;
    }
    ShowWindow(hWnd, bShown ? SW_SHOWNOACTIVATE : SW_HIDE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// ---- The recorders, as the measuring code drives them -----------------------------------------

class CRecorder {
public:
    virtual ~CRecorder() = default;
    // Empty on success, else why not.
    virtual std::string Start() = 0;
    virtual void Stop() = 0;
    // Keeps at most nEntries; returns when the recorder has taken the new bound.
    virtual bool SetLimit(int nEntries) = 0;
    virtual HWND MainWindow() const = 0;
    HWND ListWindow() const {
        return FindWindowExW(MainWindow(), nullptr, L"SysListView32", nullptr);
    }
    DWORD ProcessId() const {
        DWORD nProcessId = 0;
        GetWindowThreadProcessId(MainWindow(), &nProcessId);
        return nProcessId;
    }
};

bool Answers(HWND hWnd, UINT nMsg = WM_NULL, WPARAM wParam = 0) {
    DWORD_PTR nResult = 0;
    return SendMessageTimeoutW(hWnd, nMsg, wParam, 0, SMTO_NORMAL, 10000, &nResult) != 0;
}

class CKorvexRecorder : public CRecorder {
public:
    std::string Start() override { return m_oKorvex.Start(L""); }
    void Stop() override { m_oKorvex.Stop(); }
    bool SetLimit(int nEntries) override {
        wintest::WriteRegistryDWord(HKEY_CURRENT_USER, kOptions, L"BufferSize",
                                    static_cast<DWORD>(nEntries));
        return PostMessageW(MainWindow(), e2e::kMsgOptionsChanged, 0, 0) && Answers(MainWindow());
    }
    HWND MainWindow() const override { return m_oKorvex.MainWindow(); }

    static inline const std::wstring kOptions = std::wstring(e2e::kSettingsKey) + L"\\Options";

private:
    e2e::CKorvexProcess m_oKorvex;
};

class CFloorRecorder : public CRecorder {
public:
    explicit CFloorRecorder(bool bShown) : m_bShown(bShown) {}
    ~CFloorRecorder() override { Stop(); }
    std::string Start() override {
        m_pProcess = std::make_unique<wintest::CChildProcess>();
        if (!m_pProcess->Start(L"\"" + wintest::ProgramPath(L"capturebench.exe") + L"\" --floor" +
                               (m_bShown ? L" shown" : L""))) {
            return "capturebench.exe --floor could not be started";
        }
        if (!wintest::PumpUntil(
                [&] {
                    return (m_hMain = FindWindowW(kFloorClass, nullptr)) != nullptr ||
                           !m_pProcess->IsRunning();
                },
                20000) ||
            m_hMain == nullptr) {
            return m_pProcess->IsRunning() ? "no floor window within 20 s"
                                           : "the floor ended at start";
        }
        return Answers(m_hMain) ? "" : "the floor's window does not answer messages";
    }
    void Stop() override {
        if (m_pProcess && m_pProcess->IsRunning() && m_hMain != nullptr) {
            PostMessageW(m_hMain, WM_CLOSE, 0, 0);
            m_pProcess->WaitForExit(10000);
        }
        m_pProcess.reset(); // ends it if it still runs
        m_hMain = nullptr;
    }
    bool SetLimit(int nEntries) override {
        return Answers(m_hMain, kMsgFloorSetLimit, static_cast<WPARAM>(nEntries));
    }
    HWND MainWindow() const override { return m_hMain; }

private:
    bool m_bShown;
    std::unique_ptr<wintest::CChildProcess> m_pProcess;
    HWND m_hMain = nullptr;
};

// ---- Measuring ---------------------------------------------------------------------------------

constexpr int kLevels[] = {10, 200, 999};
constexpr int kLevelCount = 3;
constexpr int kRowSamples = 20; // copy-to-row times per way and level
constexpr int kCpuRuns = 5;     // CPU figures per level
constexpr int kCpuCopies = 100; // copies per CPU figure (Wine counts CPU time in 10 ms steps)
constexpr int kIdleRuns = 3;    // CPU figures at rest
constexpr DWORD kIdleMs = 2000;
constexpr int kLargeSamples = 8; // per large text size
constexpr int kBurstRuns = 3;    // per spacing
constexpr int kBurstCopies = 100;
constexpr double kBurstSpacingsMs[] = {0.5, 2, 20};
constexpr int kSpacingCount = 3;
constexpr DWORD kRowTimeoutMs = 10000;
constexpr DWORD kMaxCopySizeMb = 16; // lets the 5 MB text (10 MB as UTF-16) in

struct SAMPLES {
    std::vector<double> vecValues;
    int nMissed = 0; // samples that never showed up within the bound
};

struct RESULTS {
    SAMPLES arrWineCopy[kLevelCount];
    SAMPLES arrXclipCopy[kLevelCount];
    SAMPLES arrXclipTaken[kLevelCount]; // from the moment Wine has taken the X11 copy over
    SAMPLES arrCpuPerCopy[kLevelCount];
    SAMPLES oIdleCpu; // ms in kIdleMs, with a full history
    SAMPLES o500Kb;
    SAMPLES o5Mb;
    SAMPLES oCpu5Mb;
    SAMPLES arrRecorded[kSpacingCount];
    SAMPLES arrDoubled[kSpacingCount];
    SAMPLES arrOutOfOrder[kSpacingCount];
    std::vector<double> vecSpacingUs[kSpacingCount]; // the spacing this program kept
    bench::MEMORY oRest;
    bench::MEMORY oFull;
    bench::MEMORY oAfter5Mb;
    bool bShown = false; // the main window was visible once started
    std::string strFailure;
};

// Waits until nUs have passed since dFromUs: sleeps while more than 2 ms are left, then spins
// on the performance counter. This thread's messages are handled meanwhile, as a program that
// copies on a user's command handles them between copies: under Wine, recorders heard of
// almost none of a burst's copies while the copying thread left its queue alone.
void WaitUntil(double dFromUs, double dUs) {
    for (;;) {
        wintest::PumpPending();
        const double dLeft = dUs - (NowUs() - dFromUs);
        if (dLeft <= 0) {
            return;
        }
        if (dLeft > 2000) {
            Sleep(1);
        } else {
            YieldProcessor();
        }
    }
}

class CMeasurer {
public:
    CMeasurer(CRecorder& rRecorder, HWND hOwner, RESULTS& rResults)
        : m_rRecorder(rRecorder), m_hOwner(hOwner), m_rResults(rResults),
          m_oList(rRecorder.ListWindow()) {}

    void Run() {
        m_rResults.oRest = bench::ReadMemory(m_rRecorder.ProcessId());
        for (int nLevel = 0; nLevel < kLevelCount; ++nLevel) {
            if (!Fill(kLevels[nLevel])) {
                return;
            }
            if (nLevel == kLevelCount - 1) {
                wintest::PumpFor(500);
                m_rResults.oFull = bench::ReadMemory(m_rRecorder.ProcessId());
                for (int i = 0; i < kIdleRuns; ++i) {
                    Add(m_rResults.oIdleCpu, CpuDuring([] { wintest::PumpFor(kIdleMs); }));
                }
            }
            for (int i = 0; i < kRowSamples; ++i) {
                Add(m_rResults.arrWineCopy[nLevel], WineCopyToRow(NextText(L"w")));
            }
            for (int i = 0; i < kRowSamples; ++i) {
                XclipCopyToRow(m_rResults.arrXclipCopy[nLevel], m_rResults.arrXclipTaken[nLevel]);
            }
            for (int i = 0; i < kCpuRuns; ++i) {
                Add(m_rResults.arrCpuPerCopy[nLevel], CpuPerCopy(kLevels[nLevel]));
            }
        }
        for (int i = 0; i < kLargeSamples; ++i) {
            std::optional<double> optMs;
            const std::optional<double> optCpuMs =
                CpuDuring([&] { optMs = WineCopyToRow(LargeText(5000000), kRowCharacters); });
            Add(m_rResults.o5Mb, optMs);
            Add(m_rResults.oCpu5Mb, optMs ? optCpuMs : std::nullopt);
            if (i == 0) {
                wintest::PumpFor(500);
                m_rResults.oAfter5Mb = bench::ReadMemory(m_rRecorder.ProcessId());
            }
        }
        for (int i = 0; i < kLargeSamples; ++i) {
            Add(m_rResults.o500Kb, WineCopyToRow(LargeText(500000), kRowCharacters));
        }
        for (int nRun = 0; nRun < kBurstRuns; ++nRun) {
            for (int nSpacing = 0; nSpacing < kSpacingCount; ++nSpacing) {
                Burst(nSpacing);
            }
        }
    }

private:
    static void Add(SAMPLES& rSamples, std::optional<double> optValue) {
        if (optValue) {
            rSamples.vecValues.push_back(*optValue);
        } else {
            ++rSamples.nMissed;
        }
    }

    std::wstring NextText(const wchar_t* pszWay) {
        wchar_t aText[40];
        swprintf(aText, 40, L"capture %ls %06d", pszWay, ++m_nCopies);
        return aText;
    }

    std::wstring LargeText(size_t nCharacters) {
        std::wstring strText = NextText(L"large") + L" ";
        strText.resize(nCharacters, L'x');
        return strText;
    }

    // Bounded: the moment row 0 shows the text (its first nCompare characters; 0: all of it).
    // fnEachPoll runs before each look at the row.
    std::optional<double> WaitForRow0(const std::wstring& strText, size_t nCompare = 0,
                                      const std::function<void()>& fnEachPoll = {}) {
        const std::wstring strWanted = nCompare != 0 ? strText.substr(0, nCompare) : strText;
        const double dDeadline = NowUs() + kRowTimeoutMs * 1000.0;
        for (;;) {
            wintest::PumpPending();
            if (fnEachPoll) {
                fnEachPoll();
            }
            if (m_oList.Text(0, e2e::kColumnText) == strWanted) {
                return NowUs();
            }
            if (NowUs() > dDeadline) {
                return std::nullopt;
            }
            Sleep(1);
        }
    }

    // Milliseconds from the start of a copy by this program to its text in row 0.
    std::optional<double> WineCopyToRow(const std::wstring& strText, size_t nCompare = 0) {
        const double dStart = NowUs();
        if (!bench::CopyText(m_hOwner, strText)) {
            return std::nullopt;
        }
        const std::optional<double> optShown = WaitForRow0(strText, nCompare);
        wintest::PumpFor(20);
        return optShown ? std::optional<double>((*optShown - dStart) / 1000) : std::nullopt;
    }

    // Milliseconds from the start of xclip to its text in row 0 (to rFromStart), and from the
    // moment Wine has taken the copy over (the clipboard's number changed) to it (to rFromWine).
    void XclipCopyToRow(SAMPLES& rFromStart, SAMPLES& rFromWine) {
        const std::wstring strText = NextText(L"x");
        const DWORD nBefore = GetClipboardSequenceNumber();
        double dTakenOver = 0;
        const double dStart = NowUs();
        m_vecOwners.push_back(std::make_unique<wintest::CX11ClipboardOwner>());
        std::optional<double> optShown;
        if (m_vecOwners.back()->Copy(std::string(strText.begin(), strText.end()))) {
            optShown = WaitForRow0(strText, 0, [&] {
                if (dTakenOver == 0 && GetClipboardSequenceNumber() != nBefore) {
                    dTakenOver = NowUs();
                }
            });
        }
        wintest::PumpFor(20);
        if (m_vecOwners.size() > 2) { // the older ones have lost the selection
            m_vecOwners.erase(m_vecOwners.begin());
        }
        Add(rFromStart,
            optShown ? std::optional<double>((*optShown - dStart) / 1000) : std::nullopt);
        Add(rFromWine, optShown && dTakenOver != 0
                           ? std::optional<double>((*optShown - dTakenOver) / 1000)
                           : std::nullopt);
    }

    // Copies until the list holds nEntries with the bound at nEntries.
    bool Fill(int nEntries) {
        if (!m_rRecorder.SetLimit(nEntries)) {
            m_rResults.strFailure = "the recorder did not take a new bound";
            return false;
        }
        for (int nRound = 0; nRound < 5; ++nRound) {
            const int nRows = m_oList.RowCount();
            if (nRows >= nEntries) {
                return true;
            }
            for (int i = nRows; i < nEntries; ++i) {
                bench::CopyText(m_hOwner, NextText(L"fill"));
                wintest::PumpFor(20);
            }
            wintest::PumpUntil([&] { return m_oList.RowCount() >= nEntries; }, 5000);
        }
        m_rResults.strFailure = "the list did not fill to " + std::to_string(nEntries);
        return false;
    }

    static std::optional<double> CpuMs(HANDLE hProcess) {
        FILETIME oCreation, oExit, oKernel, oUser;
        if (!GetProcessTimes(hProcess, &oCreation, &oExit, &oKernel, &oUser)) {
            return std::nullopt;
        }
        const auto Ticks = [](const FILETIME& o) {
            return static_cast<double>((static_cast<ULONGLONG>(o.dwHighDateTime) << 32) |
                                       o.dwLowDateTime);
        };
        return (Ticks(oKernel) + Ticks(oUser)) / 10000; // 100 ns ticks
    }

    // The recorder's CPU milliseconds per recorded copy with nEntries in its history: copies
    // 20 ms apart, its list left alone until they have settled, then counted. With fewer rows
    // than copies, the share recorded among the newest rows stands for the whole run.
    std::optional<double> CpuPerCopy(int nEntries) {
        const int nFirst = m_nCopies + 1;
        const std::optional<double> optCpuMs = CpuDuring([&] {
            double dCopy = NowUs();
            for (int i = 0; i < kCpuCopies; ++i) {
                bench::CopyText(m_hOwner, NextText(L"cpu"));
                WaitUntil(dCopy, 20000);
                dCopy = NowUs();
            }
            wintest::PumpFor(500);
        });
        const int nVisible = std::min(nEntries, kCpuCopies);
        int nSeen = 0;
        for (int nRow = 0; nRow < nVisible; ++nRow) {
            int n = 0;
            if (swscanf(m_oList.Text(nRow, e2e::kColumnText).c_str(), L"capture cpu %d", &n) == 1 &&
                n >= nFirst) {
                ++nSeen;
            }
        }
        if (!optCpuMs || nSeen == 0) {
            return std::nullopt;
        }
        return *optCpuMs * nVisible / (static_cast<double>(kCpuCopies) * nSeen);
    }

    // The recorder's CPU milliseconds while fnWork runs.
    std::optional<double> CpuDuring(const std::function<void()>& fnWork) {
        HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, m_rRecorder.ProcessId());
        if (hProcess == nullptr) {
            return std::nullopt;
        }
        const std::optional<double> optBefore = CpuMs(hProcess);
        fnWork();
        const std::optional<double> optAfter = CpuMs(hProcess);
        CloseHandle(hProcess);
        return optBefore && optAfter ? std::optional<double>(*optAfter - *optBefore) : std::nullopt;
    }

    // 100 distinct copies nSpacing apart (start to start), then what the list holds of them.
    void Burst(int nSpacing) {
        const int nBurst = ++m_nBursts;
        const double dSpacingUs = kBurstSpacingsMs[nSpacing] * 1000;
        double dPrevious = 0;
        for (int i = 0; i < kBurstCopies; ++i) {
            if (i > 0) {
                WaitUntil(dPrevious, dSpacingUs);
            }
            const double dStart = NowUs();
            if (i > 0) {
                m_rResults.vecSpacingUs[nSpacing].push_back(dStart - dPrevious);
            }
            dPrevious = dStart;
            wchar_t aText[40];
            swprintf(aText, 40, L"burst %03d %03d", nBurst, i);
            bench::CopyText(m_hOwner, aText);
        }
        wintest::PumpFor(2000);
        std::vector<int> vecSeen(kBurstCopies, 0);
        int nPrevious = kBurstCopies;
        int nDoubled = 0;
        int nOutOfOrder = 0;
        for (int nRow = 0; nRow < kBurstCopies * 2; ++nRow) {
            int nFound = 0;
            int n = 0;
            if (swscanf(m_oList.Text(nRow, e2e::kColumnText).c_str(), L"burst %d %d", &nFound,
                        &n) != 2 ||
                nFound != nBurst || n < 0 || n >= kBurstCopies) {
                continue;
            }
            nDoubled += ++vecSeen[n] > 1 ? 1 : 0;
            nOutOfOrder += n >= nPrevious ? 1 : 0; // newest first: the numbers fall
            nPrevious = n;
        }
        Add(m_rResults.arrRecorded[nSpacing],
            static_cast<double>(std::count_if(vecSeen.begin(), vecSeen.end(),
                                              [](int nSeen) { return nSeen > 0; })));
        Add(m_rResults.arrDoubled[nSpacing], nDoubled);
        Add(m_rResults.arrOutOfOrder[nSpacing], nOutOfOrder);
    }

    CRecorder& m_rRecorder;
    HWND m_hOwner;
    RESULTS& m_rResults;
    e2e::CRemoteListView m_oList;
    std::vector<std::unique_ptr<wintest::CX11ClipboardOwner>> m_vecOwners;
    int m_nCopies = 0;
    int m_nBursts = 0;
};

// ---- The table ---------------------------------------------------------------------------------

std::optional<double> Median(const SAMPLES& rSamples) {
    if (rSamples.vecValues.empty()) {
        return std::nullopt;
    }
    std::vector<double> vecSorted = rSamples.vecValues;
    std::sort(vecSorted.begin(), vecSorted.end());
    const size_t nCount = vecSorted.size();
    return nCount % 2 != 0 ? vecSorted[nCount / 2]
                           : (vecSorted[nCount / 2 - 1] + vecSorted[nCount / 2]) / 2;
}

std::string Figure(const SAMPLES& rSamples, int nDecimals) {
    const std::optional<double> optMedian = Median(rSamples);
    if (!optMedian) {
        return rSamples.nMissed != 0 ? "none of " + std::to_string(rSamples.nMissed) + " shown"
                                     : "n/a";
    }
    const auto [itMin, itMax] =
        std::minmax_element(rSamples.vecValues.begin(), rSamples.vecValues.end());
    const double dMedian = *optMedian;
    char aText[128];
    std::snprintf(aText, sizeof aText, "%.*f (%.*f\xE2\x80\x93%.*f)", nDecimals, dMedian, nDecimals,
                  *itMin, nDecimals, *itMax);
    std::string strFigure = aText;
    if (rSamples.nMissed != 0) {
        strFigure += ", " + std::to_string(rSamples.nMissed) + " not shown";
    }
    return strFigure;
}

std::string MiB(SIZE_T nKb) {
    char aText[32];
    std::snprintf(aText, sizeof aText, "%.1f", static_cast<double>(nKb) / 1024);
    return aText;
}

void Row(const std::string& strMeasure, const std::string& strKorvex, const std::string& strFloor) {
    std::printf("| %s | %s | %s |\n", strMeasure.c_str(), strKorvex.c_str(), strFloor.c_str());
}

void PrintTable(const RESULTS& rKorvex, const RESULTS& rFloor) {
    std::printf("| measure | korvex.exe median (min\xE2\x80\x93max) | floor median "
                "(min\xE2\x80\x93max) |\n|---|---|---|\n");
    const auto Rows = [&](const char* pszMeasure, const SAMPLES(RESULTS::*pSamples)[kLevelCount],
                          int nDecimals) {
        for (int nLevel = 0; nLevel < kLevelCount; ++nLevel) {
            Row(std::string(pszMeasure) + ", " + std::to_string(kLevels[nLevel]) + " entries",
                Figure((rKorvex.*pSamples)[nLevel], nDecimals),
                Figure((rFloor.*pSamples)[nLevel], nDecimals));
        }
    };
    Rows("copy to row 0, ms, by a Wine program", &RESULTS::arrWineCopy, 1);
    Rows("copy to row 0, ms, by xclip (from its start)", &RESULTS::arrXclipCopy, 1);
    Rows("copy to row 0, ms, by xclip (from Wine taking it over)", &RESULTS::arrXclipTaken, 1);
    Rows("CPU per recorded copy, ms (copies 20 ms apart)", &RESULTS::arrCpuPerCopy, 2);
    Row("CPU at rest, ms in " + std::to_string(kIdleMs / 1000) + " s (10 ms steps), 999 entries",
        Figure(rKorvex.oIdleCpu, 0), Figure(rFloor.oIdleCpu, 0));
    Row("copy to row 0, ms, 500 KB text", Figure(rKorvex.o500Kb, 1), Figure(rFloor.o500Kb, 1));
    Row("copy to row 0, ms, 5 MB text", Figure(rKorvex.o5Mb, 1), Figure(rFloor.o5Mb, 1));
    Row("CPU per copy, ms (10 ms steps), 5 MB text", Figure(rKorvex.oCpu5Mb, 0),
        Figure(rFloor.oCpu5Mb, 0));
    for (int nSpacing = 0; nSpacing < kSpacingCount; ++nSpacing) {
        char aSpacing[80];
        std::snprintf(aSpacing, sizeof aSpacing,
                      "100 copies %g ms apart: ", kBurstSpacingsMs[nSpacing]);
        Row(std::string(aSpacing) + "recorded", Figure(rKorvex.arrRecorded[nSpacing], 0),
            Figure(rFloor.arrRecorded[nSpacing], 0));
        Row(std::string(aSpacing) + "doubled", Figure(rKorvex.arrDoubled[nSpacing], 0),
            Figure(rFloor.arrDoubled[nSpacing], 0));
        Row(std::string(aSpacing) + "out of order", Figure(rKorvex.arrOutOfOrder[nSpacing], 0),
            Figure(rFloor.arrOutOfOrder[nSpacing], 0));
    }
    const auto Memory = [&](const char* pszWhen, const bench::MEMORY RESULTS::*pMemory) {
        Row(std::string("working set, MiB, ") + pszWhen, MiB((rKorvex.*pMemory).nWorkingSetKb),
            MiB((rFloor.*pMemory).nWorkingSetKb));
        Row(std::string("peak working set, MiB, ") + pszWhen,
            MiB((rKorvex.*pMemory).nPeakWorkingSetKb), MiB((rFloor.*pMemory).nPeakWorkingSetKb));
    };
    Memory("at rest (just started)", &RESULTS::oRest);
    Memory("999 entries", &RESULTS::oFull);
    Memory("after the 5 MB text", &RESULTS::oAfter5Mb);
    // What this program kept of the burst spacings (a copy that takes longer delays the next).
    for (int nSpacing = 0; nSpacing < kSpacingCount; ++nSpacing) {
        SAMPLES oKorvex{rKorvex.vecSpacingUs[nSpacing]};
        SAMPLES oFloor{rFloor.vecSpacingUs[nSpacing]};
        for (SAMPLES* p : {&oKorvex, &oFloor}) {
            for (double& d : p->vecValues) {
                d /= 1000;
            }
        }
        char aMeasure[80];
        std::snprintf(aMeasure, sizeof aMeasure, "spacing kept for %g ms, ms",
                      kBurstSpacingsMs[nSpacing]);
        Row(aMeasure, Figure(oKorvex, 2), Figure(oFloor, 2));
    }
}

// Says so when a recorder's CPU readings cannot be right: none for a copy, a 5 MB text costing
// no more than a short one, or more at rest than during a run of copies.
void CheckCpu(const char* pszName, const RESULTS& rResults) {
    std::string strWrong;
    for (int nLevel = 0; nLevel < kLevelCount; ++nLevel) {
        const std::optional<double> optPerCopy = Median(rResults.arrCpuPerCopy[nLevel]);
        if (!optPerCopy || *optPerCopy <= 0) {
            strWrong +=
                " no CPU time for a copy with " + std::to_string(kLevels[nLevel]) + " entries;";
        }
    }
    const std::optional<double> optShort = Median(rResults.arrCpuPerCopy[kLevelCount - 1]);
    const std::optional<double> optLarge = Median(rResults.oCpu5Mb);
    if (optShort && optLarge && *optLarge <= *optShort) {
        strWrong += " a 5 MB text costs no more than a short one;";
    }
    const std::optional<double> optIdle = Median(rResults.oIdleCpu);
    if (optShort && optIdle && *optIdle >= *optShort * kCpuCopies) {
        strWrong += " more CPU time at rest than during a run of copies;";
    }
    if (!strWrong.empty()) {
        std::fprintf(stderr, "capturebench: %s: the CPU readings look wrong:%s\n", pszName,
                     strWrong.c_str());
    }
}

// Leaves the registry values as it found them, however the run ends.
class CRestoreValue {
public:
    CRestoreValue(const std::wstring& strKey, const wchar_t* pszName)
        : m_strKey(strKey), m_pszName(pszName),
          m_optOld(wintest::ReadRegistryValue(HKEY_CURRENT_USER, strKey, pszName)) {}
    ~CRestoreValue() {
        if (m_optOld) {
            wintest::WriteRegistryValue(HKEY_CURRENT_USER, m_strKey, m_pszName, m_optOld->nType,
                                        m_optOld->vecData.data(),
                                        static_cast<DWORD>(m_optOld->vecData.size()));
        } else {
            wintest::DeleteRegistryValue(HKEY_CURRENT_USER, m_strKey, m_pszName);
        }
    }
    CRestoreValue(const CRestoreValue&) = delete;
    CRestoreValue& operator=(const CRestoreValue&) = delete;

private:
    std::wstring m_strKey;
    const wchar_t* m_pszName;
    std::optional<wintest::RegistryValue> m_optOld;
};

// Starts the recorder, measures, stops it. Empty on success, else why not.
std::string Measure(const char* pszName, CRecorder& rRecorder, HWND hOwner, RESULTS& rResults) {
    std::fprintf(stderr, "capturebench: measuring %s\n", pszName);
    std::string strFailure = rRecorder.Start();
    if (strFailure.empty() && rRecorder.ListWindow() == nullptr) {
        strFailure = "no list window";
    }
    if (strFailure.empty()) {
        rResults.bShown = IsWindowVisible(rRecorder.MainWindow()) != FALSE;
        CMeasurer(rRecorder, hOwner, rResults).Run();
        strFailure = rResults.strFailure;
    }
    rRecorder.Stop();
    return strFailure.empty() ? "" : std::string(pszName) + ": " + strFailure;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"--floor") == 0) {
        return RunFloor(argc > 2 && std::wcscmp(argv[2], L"shown") == 0);
    }
    if (argc > 1) {
        std::fprintf(stderr, "usage: capturebench   (under Wine, beside korvex.exe)\n");
        return 1;
    }
    const CRestoreValue oBufferSize(CKorvexRecorder::kOptions, L"BufferSize");
    const CRestoreValue oMaxCopySize(CKorvexRecorder::kOptions, L"MaxClipboardCopySize");
    wintest::WriteRegistryDWord(HKEY_CURRENT_USER, CKorvexRecorder::kOptions,
                                L"MaxClipboardCopySize", kMaxCopySizeMb);
    HWND hOwner = CreateWindowExW(0, L"STATIC", L"capturebench", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    const double dStart = NowUs();
    RESULTS oKorvexResults;
    RESULTS oFloorResults;
    CKorvexRecorder oKorvex;
    std::string strFailure = Measure("korvex.exe", oKorvex, hOwner, oKorvexResults);
    if (strFailure.empty()) {
        // The floor's window is shown or hidden as Korvex's was.
        CFloorRecorder oFloor(oKorvexResults.bShown);
        strFailure = Measure("floor", oFloor, hOwner, oFloorResults);
    }
    DestroyWindow(hOwner);
    if (!strFailure.empty()) {
        std::fprintf(stderr, "capturebench: %s\n", strFailure.c_str());
        return 2;
    }
    PrintTable(oKorvexResults, oFloorResults);
    CheckCpu("korvex.exe", oKorvexResults);
    CheckCpu("floor", oFloorResults);
    std::fprintf(stderr, "capturebench: %.0f s\n", (NowUs() - dStart) / 1e6);
    return 0;
}
