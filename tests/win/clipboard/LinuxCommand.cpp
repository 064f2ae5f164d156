#include "LinuxCommand.h"

#include <vector>

#include "MessagePump.h"

CLinuxCommand::CLinuxCommand() {
    static int s_nCommand = 0;
    m_strStem =
        "korvex-clip-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_nCommand);
}

CLinuxCommand::~CLinuxCommand() {
    for (const char* pszSuffix : {".out", ".status", ".tmp"}) {
        DeleteFileW(WindowsPath(pszSuffix).c_str());
    }
}

std::string CLinuxCommand::UnixPath(const char* pszSuffix) const {
    return "/tmp/" + m_strStem + pszSuffix;
}

std::wstring CLinuxCommand::WindowsPath(const char* pszSuffix) const {
    const std::string strName = m_strStem + pszSuffix;
    return L"Z:\\tmp\\" + std::wstring(strName.begin(), strName.end());
}

bool CLinuxCommand::Start(const std::string& strCommand) {
    // The shell leaves the test's own output alone (ctest reads it until every holder is gone),
    // and writes the status through a temporary file so that it appears whole.
    const std::string strScript = "exec </dev/null >" + UnixPath(".out") + " 2>&1; " + strCommand +
                                  "; echo $? >" + UnixPath(".tmp") + " && mv " + UnixPath(".tmp") +
                                  " " + UnixPath(".status");
    const std::string strLine = "Z:\\bin\\sh -c \"" + strScript + "\"";
    std::vector<wchar_t> vecCommandLine(strLine.begin(), strLine.end());
    vecCommandLine.push_back(L'\0');
    STARTUPINFOW oStartup{};
    oStartup.cb = sizeof oStartup;
    PROCESS_INFORMATION oInfo{};
    m_bStarted = CreateProcessW(nullptr, vecCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &oStartup, &oInfo) != FALSE;
    for (HANDLE h : {oInfo.hProcess, oInfo.hThread}) {
        if (h != nullptr) {
            CloseHandle(h);
        }
    }
    return m_bStarted;
}

bool CLinuxCommand::HasEnded() {
    if (m_bEnded || !m_bStarted) {
        return m_bEnded;
    }
    std::string strStatus;
    if (!ReadWholeFile(WindowsPath(".status"), strStatus) || strStatus.empty()) {
        return false;
    }
    m_nExitStatus = std::atoi(strStatus.c_str());
    ReadWholeFile(WindowsPath(".out"), m_strOutput);
    m_bEnded = true;
    return true;
}

bool CLinuxCommand::WaitForEnd(DWORD nTimeoutMs) {
    return m_bStarted && PumpUntil([&] { return HasEnded(); }, nTimeoutMs);
}

bool ReadWholeFile(const std::wstring& strPath, std::string& strBytes) {
    strBytes.clear();
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    char aBuffer[65536];
    DWORD nRead = 0;
    bool bOk = true;
    while ((bOk = ReadFile(hFile, aBuffer, sizeof aBuffer, &nRead, nullptr) != FALSE) &&
           nRead > 0) {
        strBytes.append(aBuffer, nRead);
    }
    CloseHandle(hFile);
    return bOk;
}

bool WriteWholeFile(const std::wstring& strPath, const std::string& strBytes) {
    HANDLE hFile =
        CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD nWritten = 0;
    const BOOL bWritten =
        WriteFile(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), &nWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && nWritten == strBytes.size();
}
