#pragma once
// A hidden top-level window titled "Korvex" that records the messages it gets: Korvex's main
// window when it has the marker child, another program's window of that title when it has not.

#include <windows.h>

#include <vector>

class CMainWindowStandIn {
public:
    explicit CMainWindowStandIn(bool bWithMarker);
    ~CMainWindowStandIn();
    CMainWindowStandIn(const CMainWindowStandIn&) = delete;
    CMainWindowStandIn& operator=(const CMainWindowStandIn&) = delete;

    HWND Handle() const { return m_hWnd; }
    bool HasMarker() const { return m_hMarker != nullptr; }
    // As when Korvex's main window is being destroyed: the marker goes first.
    void RemoveMarker();

    // Application messages (WM_USER and up) dispatched to the window, in order.
    const std::vector<UINT>& Messages() const { return m_vecMessages; }
    int NonZeroParameters() const { return m_nNonZeroParameters; }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    HWND m_hMarker = nullptr;
    std::vector<UINT> m_vecMessages;
    int m_nNonZeroParameters = 0;
};
