#pragma once
// Another Wine program started by a test, with its standard output and error captured through a
// pipe. Everything waits with a deadline; a program still running when its object goes is
// terminated. (Linux programs are run through CLinuxCommand: Wine gives them neither a process
// handle nor the pipe.)

#include <windows.h>

#include <string>

class CChildProcess {
public:
    CChildProcess() = default;
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Start(const std::wstring& strCommandLine);
    // Waits (pumping this thread's messages) until the output contains strText.
    bool WaitForOutput(const std::string& strText, DWORD nTimeoutMs);
    // Waits (pumping this thread's messages) until the program has ended; collects its output.
    bool WaitForExit(DWORD nTimeoutMs);
    void Terminate();

    DWORD GetExitCode() const { return m_nExitCode; }
    const std::string& GetOutput() const { return m_strOutput; }

private:
    void DrainOutput();
    void Close();

    HANDLE m_hProcess = nullptr;
    HANDLE m_hOutput = nullptr;
    bool m_bEnded = false;
    DWORD m_nExitCode = STILL_ACTIVE;
    std::string m_strOutput;
};

// The result of a program that was run to its end.
struct ProgramResult {
    bool bEnded = false; // false: it did not start or did not end in time
    DWORD nExitCode = STILL_ACTIVE;
    std::string strOutput;
};

ProgramResult RunProgram(const std::wstring& strCommandLine, DWORD nTimeoutMs = 15000);

// The directory of the running test program (cliptool.exe sits beside it), with a backslash.
std::wstring GetProgramDirectory();
// The command line of cliptool.exe with the given arguments.
std::wstring ClipToolCommand(const std::wstring& strArguments);
// cliptool.exe with the given arguments, run to its end.
ProgramResult RunClipTool(const std::wstring& strArguments, DWORD nTimeoutMs = 15000);
