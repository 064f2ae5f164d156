#pragma once
// hooktarget.exe run as another Wine process: it holds the foreground and the focus and reports
// each key message its window gets as one line ("down 41", "up 41", ...) on a pipe.

#include <windows.h>

#include <string>

class CTargetProcess {
public:
    CTargetProcess() = default;
    ~CTargetProcess();
    CTargetProcess(const CTargetProcess&) = delete;
    CTargetProcess& operator=(const CTargetProcess&) = delete;

    // Starts the tool that lies next to this test program and waits until its window has the
    // focus. Pumps this thread's messages meanwhile.
    bool Start(DWORD nTimeoutMs);
    // Pumps until the tool has reported the line (true) or the time is up (false).
    bool WaitForLine(const std::string& strLine, DWORD nTimeoutMs);
    int CountLines(const std::string& strLine) const;
    const std::string& Output() const { return m_strOutput; }
    // Closes the tool's window and waits for the process; ends it when it does not go.
    void Stop();

private:
    void ReadAvailable();

    PROCESS_INFORMATION m_oProcess = {};
    HANDLE m_hOutput = nullptr;
    HWND m_hWnd = nullptr;
    std::string m_strOutput;
};
