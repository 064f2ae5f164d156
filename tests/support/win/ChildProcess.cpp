#include "tests/support/win/ChildProcess.h"

#include "tests/support/win/MessagePump.h"

#include <sstream>

namespace wintest {

std::wstring ProgramPath(const wchar_t* pszFileName) {
    std::wstring strPath(32768, L'\0'); // the longest path the system has
    strPath.resize(GetModuleFileNameW(nullptr, strPath.data(), static_cast<DWORD>(strPath.size())));
    return strPath.substr(0, strPath.find_last_of(L"\\/") + 1) + pszFileName;
}

CChildProcess::~CChildProcess() {
    if (IsRunning()) {
        TerminateProcess(m_hProcess, 1);
        WaitForSingleObject(m_hProcess, 5000);
    }
    if (m_hProcess != nullptr) {
        CloseHandle(m_hProcess);
    }
    if (m_hOutput != nullptr) {
        CloseHandle(m_hOutput);
    }
}

bool CChildProcess::Start(const std::wstring& strCommandLine) {
    if (m_hProcess != nullptr) {
        return false;
    }
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE hWrite = nullptr;
    if (!CreatePipe(&m_hOutput, &hWrite, &sa, 0)) {
        return false;
    }
    SetHandleInformation(m_hOutput, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = hWrite;
    si.hStdError = hWrite;
    std::wstring strCommand = strCommandLine;
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = CreateProcessW(nullptr, strCommand.data(), nullptr, nullptr, TRUE,
                                         CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(hWrite); // the child holds its own copy
    if (!bStarted) {
        return false;
    }
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    return true;
}

void CChildProcess::ReadAvailable() {
    DWORD nAvailable = 0;
    while (m_hOutput != nullptr &&
           PeekNamedPipe(m_hOutput, nullptr, 0, nullptr, &nAvailable, nullptr) && nAvailable > 0) {
        std::string strChunk(nAvailable, '\0');
        DWORD nRead = 0;
        if (!ReadFile(m_hOutput, strChunk.data(), nAvailable, &nRead, nullptr) || nRead == 0) {
            return;
        }
        m_strOutput.append(strChunk, 0, nRead);
    }
}

bool CChildProcess::WaitForOutput(const std::string& strText, DWORD nTimeoutMs) {
    return PumpUntil([&] { return Output().find(strText) != std::string::npos; }, nTimeoutMs);
}

bool CChildProcess::WaitForExit(DWORD nTimeoutMs) {
    const bool bEnded = PumpUntil([&] { return !IsRunning(); }, nTimeoutMs);
    ReadAvailable();
    return bEnded;
}

bool CChildProcess::IsRunning() const {
    return m_hProcess != nullptr && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

DWORD CChildProcess::ExitCode() const {
    DWORD nCode = STILL_ACTIVE;
    if (m_hProcess != nullptr) {
        GetExitCodeProcess(m_hProcess, &nCode);
    }
    return nCode;
}

const std::string& CChildProcess::Output() {
    ReadAvailable();
    return m_strOutput;
}

int CChildProcess::CountLines(const std::string& strLine) {
    std::istringstream oLines(Output());
    int nCount = 0;
    for (std::string strRead; std::getline(oLines, strRead);) {
        if (!strRead.empty() && strRead.back() == '\r') {
            strRead.pop_back();
        }
        nCount += strRead == strLine ? 1 : 0;
    }
    return nCount;
}

} // namespace wintest
