#pragma once
// A Linux program run through /bin/sh from a Wine test. Wine gives it neither a process handle
// nor our pipes, so its output, process id and exit status go to files under /tmp (named after
// this process's id and the time); it has ended when the status file appears.

#include <windows.h>

#include <optional>
#include <string>

namespace wintest {

class CLinuxCommand {
public:
    CLinuxCommand();
    // Ends the program by its process id if it still runs, and removes the files.
    ~CLinuxCommand();
    CLinuxCommand(const CLinuxCommand&) = delete;
    CLinuxCommand& operator=(const CLinuxCommand&) = delete;

    // Starts one program with its arguments (ASCII, no double quotes or backslashes: the line
    // goes through a Windows command line). Its standard input is /dev/null.
    bool Start(const std::string& strCommand);
    bool HasEnded();
    // Waits (pumping this thread's messages) until the program has ended.
    bool WaitForEnd(DWORD nTimeoutMs);
    // Valid once the program has ended.
    int ExitStatus() const { return m_nExitStatus; }
    const std::string& Output() const { return m_strOutput; } // standard output and error

    // A file of this command under /tmp, in Linux and Windows spelling. The files ".in" (for
    // the program's input) and the command's own are removed with the object.
    std::string UnixPath(const char* pszSuffix) const;
    std::wstring WindowsPath(const char* pszSuffix) const;

private:
    void Kill(); // by the process id, bounded wait

    std::string m_strStem;
    bool m_bStarted = false;
    bool m_bEnded = false;
    int m_nExitStatus = -1;
    std::string m_strOutput;
};

// The whole file, or nullopt when it cannot be read; and the bytes written to a new file.
std::optional<std::string> ReadWholeFile(const std::wstring& strPath);
bool WriteWholeFile(const std::wstring& strPath, const std::string& strBytes);

} // namespace wintest
