#include "ChildProcess.h"

#include <vector>

#include "MessagePump.h"

CChildProcess::~CChildProcess() {
    Terminate();
    Close();
}

bool CChildProcess::Start(const std::wstring& strCommandLine) {
    SECURITY_ATTRIBUTES oAttributes{sizeof oAttributes, nullptr, TRUE};
    HANDLE hWrite = nullptr;
    if (!CreatePipe(&m_hOutput, &hWrite, &oAttributes, 0)) {
        return false;
    }
    SetHandleInformation(m_hOutput, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW oStartup{};
    oStartup.cb = sizeof oStartup;
    oStartup.dwFlags = STARTF_USESTDHANDLES;
    oStartup.hStdOutput = hWrite;
    oStartup.hStdError = hWrite;
    std::vector<wchar_t> vecCommandLine(strCommandLine.begin(), strCommandLine.end());
    vecCommandLine.push_back(L'\0');
    PROCESS_INFORMATION oInfo{};
    const BOOL bStarted = CreateProcessW(nullptr, vecCommandLine.data(), nullptr, nullptr, TRUE, 0,
                                         nullptr, nullptr, &oStartup, &oInfo);
    CloseHandle(hWrite); // the child has its own copy
    if (!bStarted) {
        return false;
    }
    CloseHandle(oInfo.hThread);
    m_hProcess = oInfo.hProcess;
    return true;
}

void CChildProcess::DrainOutput() {
    DWORD nAvailable = 0;
    while (m_hOutput != nullptr &&
           PeekNamedPipe(m_hOutput, nullptr, 0, nullptr, &nAvailable, nullptr) && nAvailable > 0) {
        char aBuffer[65536];
        DWORD nRead = 0;
        const DWORD nWanted = nAvailable < sizeof aBuffer ? nAvailable : sizeof aBuffer;
        if (!ReadFile(m_hOutput, aBuffer, nWanted, &nRead, nullptr) || nRead == 0) {
            return;
        }
        m_strOutput.append(aBuffer, nRead);
    }
}

bool CChildProcess::WaitForOutput(const std::string& strText, DWORD nTimeoutMs) {
    return PumpUntil(
        [&] {
            DrainOutput();
            return m_strOutput.find(strText) != std::string::npos;
        },
        nTimeoutMs);
}

bool CChildProcess::WaitForExit(DWORD nTimeoutMs) {
    if (m_hProcess == nullptr) {
        return false;
    }
    m_bEnded = m_bEnded || PumpUntil(
                               [&] {
                                   DrainOutput(); // a full pipe would keep the child from ending
                                   return WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0;
                               },
                               nTimeoutMs);
    if (m_bEnded) {
        DrainOutput();
        GetExitCodeProcess(m_hProcess, &m_nExitCode);
    }
    return m_bEnded;
}

void CChildProcess::Terminate() {
    if (m_hProcess != nullptr && !m_bEnded) {
        TerminateProcess(m_hProcess, 255);
        WaitForSingleObject(m_hProcess, 5000);
        m_bEnded = true;
    }
}

void CChildProcess::Close() {
    if (m_hProcess != nullptr) {
        CloseHandle(m_hProcess);
        m_hProcess = nullptr;
    }
    if (m_hOutput != nullptr) {
        CloseHandle(m_hOutput);
        m_hOutput = nullptr;
    }
}

ProgramResult RunProgram(const std::wstring& strCommandLine, DWORD nTimeoutMs) {
    ProgramResult oResult;
    CChildProcess oProcess;
    if (oProcess.Start(strCommandLine) && oProcess.WaitForExit(nTimeoutMs)) {
        oResult.bEnded = true;
        oResult.nExitCode = oProcess.GetExitCode();
    }
    oResult.strOutput = oProcess.GetOutput();
    return oResult;
}

std::wstring GetProgramDirectory() {
    std::wstring strPath(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, strPath.data(), static_cast<DWORD>(strPath.size()));
        if (n < strPath.size()) {
            strPath.resize(n);
            break;
        }
        strPath.resize(strPath.size() * 2);
    }
    return strPath.substr(0, strPath.find_last_of(L"\\/") + 1);
}

std::wstring ClipToolCommand(const std::wstring& strArguments) {
    return L"\"" + GetProgramDirectory() + L"cliptool.exe\" " + strArguments;
}

ProgramResult RunClipTool(const std::wstring& strArguments, DWORD nTimeoutMs) {
    return RunProgram(ClipToolCommand(strArguments), nTimeoutMs);
}
