#pragma once
// A window of the test's own process that a user would be typing into while pressing Korvex's
// global hotkeys: a Wine top-level window with an edit box, run by its own thread so that it
// answers while the test waits.

#include <windows.h>

#include <string>

namespace e2e {

class CTargetWindow {
public:
    CTargetWindow() = default;
    ~CTargetWindow();
    CTargetWindow(const CTargetWindow&) = delete;
    CTargetWindow& operator=(const CTargetWindow&) = delete;

    // Creates and shows the window; false when it did not appear in time.
    bool Create();
    // Makes the window the foreground window with the focus in its edit box; true when the
    // system reports it as the foreground window within the bound.
    bool Focus();
    HWND Window() const { return m_hWnd; }
    std::wstring EditText() const;

private:
    static DWORD WINAPI ThreadMain(void* pParameter);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadId = 0;
    HANDLE m_hReady = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hEdit = nullptr;
};

} // namespace e2e
