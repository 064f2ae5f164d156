#include "tests/support/win/LinuxCommand.h"

#include "tests/support/win/MessagePump.h"

namespace wintest {

namespace {

const char* const g_arrSuffixes[] = {".in", ".out", ".pid", ".tmp", ".status"};

} // namespace

CLinuxCommand::CLinuxCommand() {
    static int s_nCommand = 0;
    LARGE_INTEGER nNow{};
    QueryPerformanceCounter(&nNow);
    m_strStem = "korvex-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(nNow.QuadPart) + "-" + std::to_string(++s_nCommand);
}

CLinuxCommand::~CLinuxCommand() {
    Kill();
    for (const char* pszSuffix : g_arrSuffixes) {
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
    if (m_bStarted) {
        return false;
    }
    // The output goes to a file, not to the test's own output (ctest reads that until every
    // holder is gone); the status is written through a temporary file so that it appears whole.
    const std::string strScript = "exec </dev/null >" + UnixPath(".out") + " 2>&1; " + strCommand +
                                  " & echo $! >" + UnixPath(".pid") + "; wait $!; echo $? >" +
                                  UnixPath(".tmp") + " && mv " + UnixPath(".tmp") + " " +
                                  UnixPath(".status");
    const std::string strLine = "Z:\\bin\\sh -c \"" + strScript + "\"";
    std::wstring strCommandLine(strLine.begin(), strLine.end());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    m_bStarted = CreateProcessW(nullptr, strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &si, &pi) != FALSE;
    for (HANDLE h : {pi.hProcess, pi.hThread}) {
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
    const std::optional<std::string> optStatus = ReadWholeFile(WindowsPath(".status"));
    if (!optStatus || optStatus->empty()) {
        return false;
    }
    m_nExitStatus = std::atoi(optStatus->c_str());
    m_strOutput = ReadWholeFile(WindowsPath(".out")).value_or("");
    m_bEnded = true;
    return true;
}

bool CLinuxCommand::WaitForEnd(DWORD nTimeoutMs) {
    return m_bStarted && PumpUntil([&] { return HasEnded(); }, nTimeoutMs);
}

void CLinuxCommand::Kill() {
    if (!m_bStarted || HasEnded()) {
        return;
    }
    std::optional<std::string> optPid;
    PumpUntil([&] { return (optPid = ReadWholeFile(WindowsPath(".pid"))) && !optPid->empty(); },
              5000);
    const int nPid = optPid ? std::atoi(optPid->c_str()) : 0;
    if (nPid > 0) {
        CLinuxCommand oKill;
        oKill.Start("kill " + std::to_string(nPid));
        oKill.WaitForEnd(5000);
    }
    WaitForEnd(5000);
}

std::optional<std::string> ReadWholeFile(const std::wstring& strPath) {
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string strBytes;
    char aBuffer[65536];
    DWORD nRead = 0;
    BOOL bRead;
    while ((bRead = ReadFile(hFile, aBuffer, sizeof aBuffer, &nRead, nullptr)) && nRead > 0) {
        strBytes.append(aBuffer, nRead);
    }
    CloseHandle(hFile);
    return bRead ? std::optional(strBytes) : std::nullopt;
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

} // namespace wintest
