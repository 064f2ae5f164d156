#pragma once
// A shell command run by the Linux /bin/sh from a Wine test. Wine gives a Linux program neither a
// process handle nor the pipes of the startup information, so the command's output and exit
// status go to files under /tmp, and its end is the appearance of the status file.

#include <windows.h>

#include <string>

class CLinuxCommand {
public:
    CLinuxCommand();
    ~CLinuxCommand();
    CLinuxCommand(const CLinuxCommand&) = delete;
    CLinuxCommand& operator=(const CLinuxCommand&) = delete;

    // Starts strCommand (ASCII, no double quotes or backslashes) with its output going to this
    // command's file.
    bool Start(const std::string& strCommand);
    // Waits (pumping this thread's messages) until the command has ended.
    bool WaitForEnd(DWORD nTimeoutMs);
    bool HasEnded();
    int GetExitStatus() const { return m_nExitStatus; }
    // The command's standard output (read once it has ended).
    const std::string& GetOutput() const { return m_strOutput; }

    // A file name under /tmp that belongs to this command: Linux and Windows spellings.
    std::string UnixPath(const char* pszSuffix) const;
    std::wstring WindowsPath(const char* pszSuffix) const;

private:
    std::string m_strStem; // korvex-clip-<process>-<number>
    bool m_bStarted = false;
    bool m_bEnded = false;
    int m_nExitStatus = -1;
    std::string m_strOutput;
};

// Reads a whole file into strBytes; writes strBytes to a file.
bool ReadWholeFile(const std::wstring& strPath, std::string& strBytes);
bool WriteWholeFile(const std::wstring& strPath, const std::string& strBytes);
