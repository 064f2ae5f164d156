#pragma once
// What the clipboard benchmarks share: a microsecond clock, a copy made as any Wine program
// makes it, and another process's memory figures.

#include <windows.h>

#include <psapi.h>

#include <cstring>
#include <string>

namespace bench {

inline double NowUs() {
    static const LARGE_INTEGER s_nFrequency = [] {
        LARGE_INTEGER n;
        QueryPerformanceFrequency(&n);
        return n;
    }();
    LARGE_INTEGER n;
    QueryPerformanceCounter(&n);
    return static_cast<double>(n.QuadPart) * 1e6 / static_cast<double>(s_nFrequency.QuadPart);
}

// One copy as any program makes it; false when the clipboard stayed busy for a second.
// pdEmptiedUs gets the moment the text before it left the clipboard.
inline bool CopyText(HWND hOwner, const std::wstring& strText, double* pdEmptiedUs = nullptr) {
    for (int nTry = 0; !OpenClipboard(hOwner); ++nTry) {
        if (nTry == 1000) {
            return false;
        }
        Sleep(1);
    }
    EmptyClipboard();
    if (pdEmptiedUs != nullptr) {
        *pdEmptiedUs = NowUs();
    }
    const size_t nBytes = (strText.size() + 1) * sizeof(wchar_t);
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, nBytes);
    if (void* pBlock = hBlock ? GlobalLock(hBlock) : nullptr) {
        std::memcpy(pBlock, strText.c_str(), nBytes);
        GlobalUnlock(hBlock);
    }
    const bool bDone = hBlock != nullptr && SetClipboardData(CF_UNICODETEXT, hBlock) != nullptr;
    if (!bDone && hBlock != nullptr) {
        GlobalFree(hBlock);
    }
    CloseClipboard();
    return bDone;
}

struct MEMORY {
    SIZE_T nCommitKb = 0;
    SIZE_T nWorkingSetKb = 0;
    SIZE_T nPeakWorkingSetKb = 0;
};

// Another process's memory; all zero when it cannot be read.
inline MEMORY ReadMemory(DWORD nProcessId) {
    MEMORY oMemory;
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, nProcessId);
    if (hProcess == nullptr) {
        return oMemory;
    }
    PROCESS_MEMORY_COUNTERS_EX oCounters{};
    if (GetProcessMemoryInfo(hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&oCounters),
                             sizeof(oCounters))) {
        oMemory.nCommitKb = oCounters.PagefileUsage / 1024;
        oMemory.nWorkingSetKb = oCounters.WorkingSetSize / 1024;
        oMemory.nPeakWorkingSetKb = oCounters.PeakWorkingSetSize / 1024;
    }
    CloseHandle(hProcess);
    return oMemory;
}

} // namespace bench
