// soak.exe: copies many distinct texts into a running Korvex and checks that none is lost,
// doubled or reordered, and that Korvex's memory and window-system objects stay flat.
//
//   soak [count]      (default 10,000; run under Wine, beside korvex.exe, in a scratch prefix)
//
// It raises "BufferSize" to the count, starts korvex.exe and copies the texts "soak <n>" in three
// ways: from this program 20 ms apart (40%), from this program back to back in bursts of 50 with
// no pause between the copies of a burst (50%), and through xclip, a Linux program, 20 ms after
// Wine has taken each one over (10%). It then reads Korvex's list and prints, per way: recorded,
// missing, doubled and out of order. For each lost back-to-back text it tells whether the next
// copy replaced it before an idle listener was even told of the change. With the history full it
// copies more: bursts like the ones before while the idle listener also reads at every notice
// (what it gets is what the platform lets any program get), then a fifth more 20 ms apart. It
// prints korvex.exe's memory, its windows and its USER and GDI object counts at the start, with
// the history full, and at the end; leaves "BufferSize" as it found it and ends Korvex.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchClipboard.h"
#include "tests/e2e/scenarios/KorvexContract.h"
#include "tests/e2e/scenarios/KorvexProcess.h"
#include "tests/e2e/scenarios/RemoteListView.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/Registry.h"
#include "tests/support/win/X11Clipboard.h"

namespace {

using bench::CopyText;
using bench::NowUs;

enum Way { kSpaced, kBurst, kXclip, kWays };
const char* const kWayNames[kWays] = {"20 ms apart", "back to back", "through xclip"};

struct COPY {
    Way nWay;
    double dPutUs = 0;      // when it replaced the text before it
    double dReplacedUs = 0; // when the next copy replaced it (bursts; 0: not measured)
};

std::wstring SoakText(int n) {
    wchar_t aText[32];
    swprintf(aText, 32, L"soak %05d", n);
    return aText;
}

// An idle program that only listens: the moments at which the platform tells a program of a
// change (WM_CLIPBOARDUPDATE), on a thread of its own.
class CChangeListener {
public:
    CChangeListener() {
        m_oThread = std::thread([this] {
            WNDCLASSW oClass{};
            oClass.lpfnWndProc = &WndProc;
            oClass.hInstance = GetModuleHandleW(nullptr);
            oClass.lpszClassName = L"SoakListener";
            RegisterClassW(&oClass);
            HWND hWnd = CreateWindowExW(0, L"SoakListener", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                        oClass.hInstance, nullptr);
            SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            AddClipboardFormatListener(hWnd);
            m_nThreadId = GetCurrentThreadId();
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                DispatchMessageW(&msg);
            }
            RemoveClipboardFormatListener(hWnd);
            DestroyWindow(hWnd);
        });
        while (m_nThreadId == 0) {
            Sleep(1);
        }
    }
    ~CChangeListener() {
        PostThreadMessageW(m_nThreadId, WM_QUIT, 0, 0);
        m_oThread.join();
    }
    std::vector<double> Times() {
        const std::lock_guard<std::mutex> oLock(m_oMutex);
        return m_vecTimes;
    }
    // From now on the listener also reads the clipboard at every notice, as fast as a program
    // that does nothing else can, and keeps the texts "idle <n>" it finds.
    void StartReading() { m_bReading = true; }
    std::vector<int> TextsRead() {
        const std::lock_guard<std::mutex> oLock(m_oMutex);
        return m_vecRead;
    }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
        auto* pThis = reinterpret_cast<CChangeListener*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (nMsg == WM_CLIPBOARDUPDATE && pThis != nullptr) {
            const std::lock_guard<std::mutex> oLock(pThis->m_oMutex);
            pThis->m_vecTimes.push_back(NowUs());
            if (pThis->m_bReading && OpenClipboard(hWnd)) {
                HANDLE hData = GetClipboardData(CF_UNICODETEXT);
                const auto* pText =
                    hData ? static_cast<const wchar_t*>(GlobalLock(hData)) : nullptr;
                int n = -1;
                if (pText != nullptr && swscanf(pText, L"idle %d", &n) == 1) {
                    pThis->m_vecRead.push_back(n);
                }
                if (pText != nullptr) {
                    GlobalUnlock(hData);
                }
                CloseClipboard();
            }
            return 0;
        }
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }

    std::thread m_oThread;
    std::atomic<DWORD> m_nThreadId = 0;
    std::mutex m_oMutex;
    std::vector<double> m_vecTimes;
    std::atomic<bool> m_bReading = false;
    std::vector<int> m_vecRead;
};

// Bursts of 50 copies with no pause between them: texts strPrefix + number, [nFirst, nEnd).
// Each copy's times go to vecCopies[n] when given.
void CopyInBursts(HWND hOwner, const wchar_t* pszPrefix, int nFirst, int nEnd,
                  std::vector<COPY>* pCopies) {
    for (int n = nFirst; n < nEnd;) {
        for (int i = 0; i < 50 && n < nEnd; ++i, ++n) {
            wchar_t aText[32];
            swprintf(aText, 32, L"%ls %05d", pszPrefix, n);
            double dPut = 0;
            CopyText(hOwner, aText, &dPut);
            if (pCopies != nullptr) {
                (*pCopies)[n] = {kBurst, dPut};
                if (i > 0) {
                    (*pCopies)[n - 1].dReplacedUs = dPut;
                }
            }
        }
        wintest::PumpFor(300);
    }
}

struct FIGURES {
    SIZE_T nCommitKb = 0;
    SIZE_T nWorkingSetKb = 0;
    DWORD nUser = 0; // GetGuiResources (Wine reports 0 for both)
    DWORD nGdi = 0;
    int nWindows = 0; // the process's windows, children included: USER objects seen from outside
};

int CountWindows(DWORD nProcessId) {
    struct COUNT {
        DWORD nProcessId;
        int nWindows;
    } oCount{nProcessId, 0};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) {
            auto& rCount = *reinterpret_cast<COUNT*>(lParam);
            DWORD nProcess = 0;
            GetWindowThreadProcessId(hWnd, &nProcess);
            if (nProcess == rCount.nProcessId) {
                ++rCount.nWindows;
                EnumChildWindows(
                    hWnd,
                    [](HWND, LPARAM lCount) {
                        ++*reinterpret_cast<int*>(lCount);
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(&rCount.nWindows));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&oCount));
    return oCount.nWindows;
}

FIGURES Measure(DWORD nProcessId) {
    FIGURES oFigures;
    const bench::MEMORY oMemory = bench::ReadMemory(nProcessId);
    oFigures.nCommitKb = oMemory.nCommitKb;
    oFigures.nWorkingSetKb = oMemory.nWorkingSetKb;
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, nProcessId);
    if (hProcess == nullptr) {
        return oFigures;
    }
    oFigures.nUser = GetGuiResources(hProcess, GR_USEROBJECTS);
    oFigures.nGdi = GetGuiResources(hProcess, GR_GDIOBJECTS);
    CloseHandle(hProcess);
    oFigures.nWindows = CountWindows(nProcessId);
    return oFigures;
}

void PrintFigures(const char* pszWhen, const FIGURES& oFigures) {
    std::printf("korvex.exe %-20s commit %7zu KB, working set %7zu KB, windows %3d, "
                "USER %lu, GDI %lu\n",
                pszWhen, oFigures.nCommitKb, oFigures.nWorkingSetKb, oFigures.nWindows,
                static_cast<unsigned long>(oFigures.nUser),
                static_cast<unsigned long>(oFigures.nGdi));
}

// Copies texts [nFirst, nLast) through xclip, each 20 ms after Wine has taken it over.
void CopyThroughXclip(int nFirst, int nLast, std::vector<COPY>& vecCopies) {
    std::vector<std::unique_ptr<wintest::CX11ClipboardOwner>> vecOwners;
    for (int n = nFirst; n < nLast; ++n) {
        vecCopies[n] = {kXclip, NowUs()};
        const DWORD nBefore = GetClipboardSequenceNumber();
        vecOwners.push_back(std::make_unique<wintest::CX11ClipboardOwner>());
        char aText[32];
        std::snprintf(aText, sizeof aText, "soak %05d", n);
        if (!vecOwners.back()->Copy(aText)) {
            std::fprintf(stderr, "xclip could not be started\n");
            return;
        }
        wintest::PumpUntil([&] { return GetClipboardSequenceNumber() != nBefore; }, 3000);
        wintest::PumpFor(20);
        if (vecOwners.size() > 2) { // the older ones have lost the selection
            vecOwners.erase(vecOwners.begin());
        }
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int nCount = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 10000;
    if (nCount < 100) {
        std::fprintf(stderr, "usage: soak [count >= 100]\n");
        return 1;
    }
    const std::wstring strOptions = std::wstring(e2e::kSettingsKey) + L"\\Options";
    const auto optOldBufferSize =
        wintest::ReadRegistryDWord(HKEY_CURRENT_USER, strOptions, L"BufferSize");
    wintest::WriteRegistryDWord(HKEY_CURRENT_USER, strOptions, L"BufferSize",
                                static_cast<DWORD>(nCount));

    e2e::CKorvexProcess oKorvex;
    const std::string strFailure = oKorvex.Start(L"");
    if (!strFailure.empty()) {
        std::fprintf(stderr, "korvex.exe: %s\n", strFailure.c_str());
        return 2;
    }
    const DWORD nProcessId = oKorvex.ProcessId();
    const FIGURES oStart = Measure(nProcessId);
    CChangeListener oListener;
    HWND hOwner = CreateWindowExW(0, L"STATIC", L"soak", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);

    // The three ways, one after the other.
    std::vector<COPY> vecCopies(static_cast<size_t>(nCount));
    const int nSpacedEnd = nCount * 4 / 10;
    const int nBurstEnd = nCount * 9 / 10;
    const double dStart = NowUs();
    for (int n = 0; n < nSpacedEnd; ++n) {
        vecCopies[n] = {kSpaced, NowUs()};
        CopyText(hOwner, SoakText(n));
        wintest::PumpFor(20);
    }
    CopyInBursts(hOwner, L"soak", nSpacedEnd, nBurstEnd, &vecCopies);
    CopyThroughXclip(nBurstEnd, nCount, vecCopies);
    wintest::PumpFor(2000); // the last copies reach the list
    std::printf("%d copies in %.0f s\n", nCount, (NowUs() - dStart) / 1e6);

    // What the list holds: "soak <n>" rows, newest first.
    const std::vector<std::wstring> vecRows =
        e2e::CRemoteListView(oKorvex.ListWindow()).Column(e2e::kColumnText);
    std::vector<int> vecSeen(static_cast<size_t>(nCount), 0);
    int arrDoubled[kWays] = {};
    int arrOutOfOrder[kWays] = {};
    int nOther = 0;
    int nPrevious = nCount;
    for (const std::wstring& strRow : vecRows) {
        int n = -1;
        if (swscanf(strRow.c_str(), L"soak %d", &n) != 1 || n < 0 || n >= nCount) {
            ++nOther;
            continue;
        }
        if (++vecSeen[n] > 1) {
            ++arrDoubled[vecCopies[n].nWay];
        }
        if (n >= nPrevious) {
            ++arrOutOfOrder[vecCopies[n].nWay];
        }
        nPrevious = n;
    }
    std::printf("%-14s %9s %9s %9s %9s %13s\n", "way", "copied", "recorded", "missing", "doubled",
                "out of order");
    // A lost text was replaced either before any program could hear of it (the next change
    // notice that an idle listener got came after the replacement) or after.
    const std::vector<double> vecNotices = oListener.Times();
    int nLostUnheard = 0;
    int nLostHeard = 0;
    double dLongestLostStay = 0;
    for (int nWay = 0; nWay < kWays; ++nWay) {
        int nCopied = 0;
        int nRecorded = 0;
        for (int n = 0; n < nCount; ++n) {
            if (vecCopies[n].nWay != nWay) {
                continue;
            }
            ++nCopied;
            nRecorded += vecSeen[n] > 0 ? 1 : 0;
            const COPY& oCopy = vecCopies[n];
            if (vecSeen[n] == 0 && oCopy.dReplacedUs != 0) {
                const auto it =
                    std::upper_bound(vecNotices.begin(), vecNotices.end(), oCopy.dPutUs);
                (it == vecNotices.end() || *it >= oCopy.dReplacedUs ? nLostUnheard : nLostHeard)++;
                dLongestLostStay = std::max(dLongestLostStay, oCopy.dReplacedUs - oCopy.dPutUs);
            }
        }
        std::printf("%-14s %9d %9d %9d %9d %13d\n", kWayNames[nWay], nCopied, nRecorded,
                    nCopied - nRecorded, arrDoubled[nWay], arrOutOfOrder[nWay]);
    }
    // A doubled text, with the change notices an idle listener got while it was the newest
    // copy: two notices mean the platform itself changed the clipboard twice for it.
    const std::vector<double> vecAllNotices = oListener.Times();
    for (int n = 0; n < nCount; ++n) {
        if (vecSeen[n] > 1) {
            const double dEnd = n + 1 < nCount ? vecCopies[n + 1].dPutUs : NowUs();
            std::printf("\"soak %05d\" (%s) recorded %d times; change notices while it was the "
                        "newest copy: %td\n",
                        n, kWayNames[vecCopies[n].nWay], vecSeen[n],
                        std::lower_bound(vecAllNotices.begin(), vecAllNotices.end(), dEnd) -
                            std::lower_bound(vecAllNotices.begin(), vecAllNotices.end(),
                                             vecCopies[n].dPutUs));
        }
    }
    // The first texts lost of those copied 20 ms apart or through xclip, if any.
    for (int n = 0, nShown = 0; n < nCount && nShown < 10; ++n) {
        if (vecSeen[n] == 0 && vecCopies[n].nWay != kBurst) {
            std::printf("lost: \"soak %05d\" (%s)\n", n, kWayNames[vecCopies[n].nWay]);
            ++nShown;
        }
    }
    if (nOther != 0) {
        std::printf("%d rows that are no soak text\n", nOther);
    }
    if (nLostUnheard + nLostHeard != 0) {
        std::printf("lost back-to-back texts: %d replaced before any program was told of them, "
                    "%d after; the longest stayed %.0f us on the clipboard\n",
                    nLostUnheard, nLostHeard, dLongestLostStay);
    }

    // With the history full, more copies, each trimming the oldest entry: first bursts like the
    // ones above while an idle program reads at every notice (what it gets is what the platform
    // lets any program get), then a fifth more 20 ms apart.
    // Losses leave the history short of its bound: make the bound what it holds, so that it is
    // full from here on.
    const int nHeld = e2e::CRemoteListView(oKorvex.ListWindow()).RowCount();
    wintest::WriteRegistryDWord(HKEY_CURRENT_USER, strOptions, L"BufferSize",
                                static_cast<DWORD>(nHeld));
    PostMessageW(oKorvex.MainWindow(), e2e::kMsgOptionsChanged, 0, 0);
    wintest::PumpFor(500);
    const FIGURES oFull = Measure(nProcessId);
    const int nIdle = nCount / 10;
    oListener.StartReading();
    CopyInBursts(hOwner, L"idle", 0, nIdle, nullptr);
    std::vector<int> vecIdleRead = oListener.TextsRead();
    std::sort(vecIdleRead.begin(), vecIdleRead.end());
    vecIdleRead.erase(std::unique(vecIdleRead.begin(), vecIdleRead.end()), vecIdleRead.end());
    std::printf("an idle program reading at every notice got %zu of %d back-to-back texts\n",
                vecIdleRead.size(), nIdle);
    for (int n = 0; n < nCount / 5; ++n) {
        CopyText(hOwner, L"full " + std::to_wstring(n));
        wintest::PumpFor(20);
    }
    wintest::PumpFor(2000);
    const FIGURES oEnd = Measure(nProcessId);
    const int nRowsAtEnd = e2e::CRemoteListView(oKorvex.ListWindow()).RowCount();
    PrintFigures("at the start:", oStart);
    PrintFigures("after the copies:", oFull);
    PrintFigures("after a fifth more:", oEnd);
    std::printf("rows at the end: %d (\"BufferSize\" %d once the copies were read)\n", nRowsAtEnd,
                nHeld);

    oKorvex.Stop();
    DestroyWindow(hOwner);
    if (optOldBufferSize) {
        wintest::WriteRegistryDWord(HKEY_CURRENT_USER, strOptions, L"BufferSize",
                                    *optOldBufferSize);
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, strOptions.c_str(), L"BufferSize");
    }
    return 0;
}
