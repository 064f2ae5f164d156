#pragma once
// Another Wine program started by a test, its stdout and stderr read through a pipe. Waits are
// bounded and pump messages; a program still running when its object goes is ended.

#include <windows.h>

#include <string>

namespace wintest {

// Full path of a program that lies beside the running test program (hooktarget.exe, ...).
std::wstring ProgramPath(const wchar_t* pszFileName);

class CChildProcess {
public:
    CChildProcess() = default;
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts the command line (the program path quoted when it may hold spaces).
    bool Start(const std::wstring& strCommandLine);
    // Waits until the output holds strText (true) or the time is up (false).
    bool WaitForOutput(const std::string& strText, DWORD nTimeoutMs);
    // Waits until the program has ended (true) or the time is up (false).
    bool WaitForExit(DWORD nTimeoutMs);

    bool IsRunning() const;
    DWORD ExitCode() const; // STILL_ACTIVE while it runs
    // What the program wrote so far.
    const std::string& Output();
    // The number of output lines equal to strLine (a line's trailing carriage return ignored).
    int CountLines(const std::string& strLine);

private:
    void ReadAvailable();

    HANDLE m_hProcess = nullptr;
    HANDLE m_hOutput = nullptr; // our end of the pipe
    std::string m_strOutput;
};

} // namespace wintest
