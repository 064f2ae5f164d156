#include "LinuxProcesses.h"

#include "HelperProcess.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>

namespace e2e {

std::vector<unsigned long> FindLinuxProcesses(const std::string& strNeedle) {
    std::vector<unsigned long> vecPids;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(L"Z:\\proc\\*", &data);
    if (hFind == INVALID_HANDLE_VALUE) {
        return vecPids;
    }
    do {
        const std::wstring strName = data.cFileName;
        if (strName.empty() || !std::iswdigit(strName[0])) {
            continue;
        }
        FILE* pFile = _wfopen((L"Z:\\proc\\" + strName + L"\\cmdline").c_str(), L"rb");
        if (pFile == nullptr) {
            continue;
        }
        char aBuffer[4096];
        const size_t n = std::fread(aBuffer, 1, sizeof aBuffer, pFile);
        std::fclose(pFile);
        std::string strCommandLine(aBuffer, n);
        for (char& c : strCommandLine) {
            if (c == 0) {
                c = ' ';
            }
        }
        if (strCommandLine.find(strNeedle) != std::string::npos) {
            vecPids.push_back(std::wcstoul(strName.c_str(), nullptr, 10));
        }
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    return vecPids;
}

void KillLinuxProcess(unsigned long nPid) {
    CHelperProcess oKill;
    if (oKill.Start(L"Z:\\bin\\kill " + std::to_wstring(nPid))) {
        oKill.WaitForExit(5000);
    }
}

} // namespace e2e
