#include "TargetProcess.h"

#include "MessagePump.h"

#include <cstdlib>
#include <sstream>

CTargetProcess::~CTargetProcess() {
    Stop();
}

bool CTargetProcess::Start(DWORD nTimeoutMs) {
    wchar_t szPath[MAX_PATH];
    const DWORD nLength = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring strPath(szPath, nLength);
    strPath = strPath.substr(0, strPath.find_last_of(L"\\/") + 1) + L"hooktarget.exe";

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
    std::wstring strCommand = L"\"" + strPath + L"\"";
    const BOOL bStarted = CreateProcessW(strPath.c_str(), strCommand.data(), nullptr, nullptr, TRUE,
                                         CREATE_NO_WINDOW, nullptr, nullptr, &si, &m_oProcess);
    CloseHandle(hWrite);
    if (!bStarted) {
        m_oProcess = {};
        return false;
    }
    // Ready once the tool reports that its window has the focus; it ends at once when it
    // cannot get it.
    const HANDLE hProcess = m_oProcess.hProcess;
    PumpMessagesUntil(
        [&] {
            ReadAvailable();
            return m_hWnd != nullptr || WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0;
        },
        nTimeoutMs);
    return m_hWnd != nullptr;
}

void CTargetProcess::ReadAvailable() {
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
    if (m_hWnd == nullptr) {
        const size_t nReady = m_strOutput.find("ready ");
        if (nReady != std::string::npos && m_strOutput.find('\n', nReady) != std::string::npos) {
            m_hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(
                std::strtoull(m_strOutput.c_str() + nReady + 6, nullptr, 16)));
        }
    }
}

bool CTargetProcess::WaitForLine(const std::string& strLine, DWORD nTimeoutMs) {
    return PumpMessagesUntil(
        [&] {
            ReadAvailable();
            return CountLines(strLine) > 0;
        },
        nTimeoutMs);
}

int CTargetProcess::CountLines(const std::string& strLine) const {
    std::istringstream oLines(m_strOutput);
    int nCount = 0;
    for (std::string strRead; std::getline(oLines, strRead);) {
        if (strRead == strLine) {
            ++nCount;
        }
    }
    return nCount;
}

void CTargetProcess::Stop() {
    if (m_oProcess.hProcess != nullptr) {
        if (m_hWnd != nullptr) {
            PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        }
        const HANDLE hProcess = m_oProcess.hProcess;
        if (!PumpMessagesUntil([&] { return WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0; },
                               5000)) {
            TerminateProcess(hProcess, 1);
            WaitForSingleObject(hProcess, 5000);
        }
        CloseHandle(m_oProcess.hProcess);
        CloseHandle(m_oProcess.hThread);
        m_oProcess = {};
    }
    if (m_hOutput != nullptr) {
        CloseHandle(m_hOutput);
        m_hOutput = nullptr;
    }
    m_hWnd = nullptr;
}
