// The kept history's platform calls, under Wine or on Windows: an append of one record of a
// 1,024-character copy with its flush, a new protected key, the key's unprotection, the rewrite
// of 200 such entries through the replacement and its rename, and the read of a 20 MB file at
// start. Prints the median CPU and wall time of each (storebench.exe [folder]).

#include "store/Win32HistoryFileStore.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

double CpuMs() {
    FILETIME ftCreate, ftExit, ftKernel, ftUser;
    GetProcessTimes(GetCurrentProcess(), &ftCreate, &ftExit, &ftKernel, &ftUser);
    auto Ticks = [](const FILETIME& ft) {
        return (uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime);
    };
    return static_cast<double>(Ticks(ftKernel) + Ticks(ftUser)) / 1e4;
}

double WallMs() {
    LARGE_INTEGER n, f;
    QueryPerformanceCounter(&n);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(n.QuadPart) * 1e3 / static_cast<double>(f.QuadPart);
}

// The median CPU and wall time of fn over nRuns runs, each run nInner calls.
void Measure(const char* pszName, int nRuns, int nInner, const std::function<bool()>& fn) {
    std::vector<double> arrCpu, arrWall;
    for (int i = 0; i < nRuns; ++i) {
        const double tCpu = CpuMs(), tWall = WallMs();
        for (int j = 0; j < nInner; ++j) {
            if (!fn()) {
                std::printf("%s: failed\n", pszName);
                return;
            }
        }
        arrCpu.push_back((CpuMs() - tCpu) / nInner);
        arrWall.push_back((WallMs() - tWall) / nInner);
    }
    std::sort(arrCpu.begin(), arrCpu.end());
    std::sort(arrWall.begin(), arrWall.end());
    std::printf("%-58s CPU %8.3f ms  wall %8.3f ms\n", pszName, arrCpu[arrCpu.size() / 2],
                arrWall[arrWall.size() / 2]);
}

bool Replace(CWin32HistoryFileStore& oStore, const std::vector<uint8_t>& arrPiece, int nPieces) {
    if (!oStore.BeginReplace()) {
        return false;
    }
    bool bOk = true;
    for (int i = 0; i < nPieces && bOk; ++i) {
        bOk = oStore.WriteReplacement(arrPiece);
    }
    return oStore.EndReplace(bOk) && bOk;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    const std::wstring strFolder =
        (argc > 1 ? std::wstring(argv[1]) : std::wstring(szTemp)) + L"\\korvex-storebench";
    CWin32HistoryFileStore oStore(strFolder + L"\\History.dat");
    const std::vector<uint8_t> aRecord(24 + 13 + 2 * 1024, 0x5A); // a 1,024-character insert
    if (!Replace(oStore, aRecord, 1)) {
        std::printf("cannot write %ls\n", oStore.GetPath().c_str());
        return 1;
    }
    Measure("append of a 1,024-character copy's record, flushed", 9, 500,
            [&] { return oStore.Append(aRecord); });
    std::optional<HistoryFileKey> optKey;
    Measure("a new key, protected", 9, 200, [&] { return (optKey = oStore.NewKey()).has_value(); });
    Measure("the key unprotected", 9, 200,
            [&] { return UnprotectHistoryKey(optKey->arrProtected).has_value(); });
    Measure("a rewrite of 200 such entries (about 410 KB), renamed", 9, 30,
            [&] { return Replace(oStore, aRecord, 200); });
    const std::vector<uint8_t> aPiece(256 * 1024, 0x5A);
    Replace(oStore, aPiece, 80); // 20 MB, as 999 entries of 10,240 characters
    Measure("the whole 20 MB file read at start", 5, 4,
            [&] { return ReadStoredFile(oStore.GetPath()).nResult == StoredFileRead::Read; });
    oStore.Delete();
    RemoveDirectoryW(strFolder.c_str());
    return 0;
}
