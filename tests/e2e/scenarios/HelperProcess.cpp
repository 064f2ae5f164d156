#include "HelperProcess.h"

#include "Wait.h"

#include <vector>

namespace e2e {

std::wstring ProgramPath(const wchar_t* pszFileName) {
    std::vector<wchar_t> vecPath(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, vecPath.data(), static_cast<DWORD>(vecPath.size()));
        if (n == 0) {
            return pszFileName;
        }
        if (n < vecPath.size()) {
            break;
        }
        vecPath.resize(vecPath.size() * 2);
    }
    std::wstring strPath(vecPath.data());
    strPath.resize(strPath.find_last_of(L"\\/") + 1);
    return strPath + pszFileName;
}

CHelperProcess::~CHelperProcess() {
    Kill();
}

bool CHelperProcess::Start(const std::wstring& strCommandLine, bool bCaptureOutput) {
    Kill();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    HANDLE hChildOutput = nullptr;
    if (bCaptureOutput) {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        if (!CreatePipe(&m_hOutput, &hChildOutput, &sa, 0)) {
            return false;
        }
        SetHandleInformation(m_hOutput, HANDLE_FLAG_INHERIT, 0);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = hChildOutput;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    std::wstring strMutable = strCommandLine;
    PROCESS_INFORMATION pi{};
    const BOOL bStarted = CreateProcessW(nullptr, strMutable.data(), nullptr, nullptr,
                                         bCaptureOutput, 0, nullptr, nullptr, &si, &pi);
    if (hChildOutput != nullptr) {
        CloseHandle(hChildOutput);
    }
    if (!bStarted) {
        Close();
        return false;
    }
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    m_nProcessId = pi.dwProcessId;
    m_strOutput.clear();
    return true;
}

bool CHelperProcess::IsRunning() const {
    return m_hProcess != nullptr && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

bool CHelperProcess::WaitForExit(DWORD nTimeoutMs) const {
    return m_hProcess == nullptr || WaitForSingleObject(m_hProcess, nTimeoutMs) == WAIT_OBJECT_0;
}

DWORD CHelperProcess::ExitCode() const {
    DWORD nCode = STILL_ACTIVE;
    if (m_hProcess != nullptr) {
        GetExitCodeProcess(m_hProcess, &nCode);
    }
    return nCode;
}

void CHelperProcess::ReadAvailableOutput() {
    if (m_hOutput == nullptr) {
        return;
    }
    DWORD nAvailable = 0;
    while (PeekNamedPipe(m_hOutput, nullptr, 0, nullptr, &nAvailable, nullptr) && nAvailable > 0) {
        char aBuffer[4096];
        DWORD nRead = 0;
        const DWORD nWant = nAvailable < sizeof aBuffer ? nAvailable : sizeof aBuffer;
        if (!ReadFile(m_hOutput, aBuffer, nWant, &nRead, nullptr) || nRead == 0) {
            return;
        }
        m_strOutput.append(aBuffer, nRead);
    }
}

bool CHelperProcess::WaitForOutput(const std::string& strText, DWORD nTimeoutMs) {
    return WaitUntil(
        [&] {
            ReadAvailableOutput();
            return m_strOutput.find(strText) != std::string::npos;
        },
        nTimeoutMs, 10);
}

void CHelperProcess::Kill() {
    if (m_hProcess != nullptr && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_hProcess, 1);
        WaitForSingleObject(m_hProcess, 5000);
    }
    Close();
}

void CHelperProcess::Close() {
    if (m_hProcess != nullptr) {
        CloseHandle(m_hProcess);
        m_hProcess = nullptr;
    }
    if (m_hOutput != nullptr) {
        CloseHandle(m_hOutput);
        m_hOutput = nullptr;
    }
    m_nProcessId = 0;
}

int RunClipTool(const std::wstring& strArguments, std::string* pOutput) {
    CHelperProcess oClipTool;
    if (!oClipTool.Start(L"\"" + ProgramPath(L"cliptool.exe") + L"\" " + strArguments,
                         pOutput != nullptr)) {
        return -1;
    }
    if (!oClipTool.WaitForExit(15000)) {
        return -1;
    }
    if (pOutput != nullptr) {
        oClipTool.WaitForOutput("", 0);
        *pOutput = oClipTool.Output();
    }
    return static_cast<int>(oClipTool.ExitCode());
}

} // namespace e2e
