#pragma once
// A program that a scenario starts (Korvex itself, cliptool, a chain viewer, xclip), owned by
// the scenario: it is ended at the latest when the object goes.

#include <windows.h>

#include <string>

namespace e2e {

// Full path of a program that lies next to the test program (korvex.exe, cliptool.exe, ...).
std::wstring ProgramPath(const wchar_t* pszFileName);

class CHelperProcess {
public:
    CHelperProcess() = default;
    ~CHelperProcess();
    CHelperProcess(const CHelperProcess&) = delete;
    CHelperProcess& operator=(const CHelperProcess&) = delete;

    // Starts the command line; with bCaptureOutput its standard output goes into a pipe that
    // WaitForOutput reads.
    bool Start(const std::wstring& strCommandLine, bool bCaptureOutput = false);
    bool IsRunning() const;
    // Waits at most nTimeoutMs for the process to end; true when it has ended.
    bool WaitForExit(DWORD nTimeoutMs) const;
    // The exit code once the process has ended, STILL_ACTIVE before.
    DWORD ExitCode() const;
    // Waits at most nTimeoutMs until the captured output contains strText.
    bool WaitForOutput(const std::string& strText, DWORD nTimeoutMs);
    const std::string& Output() const { return m_strOutput; }
    // Ends the process at once if it still runs, and waits for it (bounded).
    void Kill();

    DWORD Id() const { return m_nProcessId; }
    HANDLE Handle() const { return m_hProcess; }

private:
    void ReadAvailableOutput();
    void Close();

    HANDLE m_hProcess = nullptr;
    DWORD m_nProcessId = 0;
    HANDLE m_hOutput = nullptr; // our end of the output pipe
    std::string m_strOutput;
};

// Runs "cliptool <arguments>" to its end (bounded) and returns its exit code, or -1 when it
// could not be started or did not end in time.
int RunClipTool(const std::wstring& strArguments, std::string* pOutput = nullptr);

} // namespace e2e
