#pragma once
// A window that records the application messages (WM_USER up to 0xBFFF) it is sent or that are
// dispatched to it, in order, and answers them with 0.

#include <windows.h>

#include <vector>

namespace wintest {

class CRecordingWindow {
public:
    struct MESSAGE {
        UINT nMsg;
        WPARAM wParam;
        LPARAM lParam;
    };

    // A message-only window by default; with hParent nullptr a hidden top-level window, which
    // FindWindowExW finds by its title.
    explicit CRecordingWindow(const wchar_t* pszTitle = L"", HWND hParent = HWND_MESSAGE);
    ~CRecordingWindow();
    CRecordingWindow(const CRecordingWindow&) = delete;
    CRecordingWindow& operator=(const CRecordingWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    const std::vector<MESSAGE>& Messages() const { return m_vecMessages; }
    // The message numbers alone, in order.
    std::vector<UINT> MessageIds() const;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    std::vector<MESSAGE> m_vecMessages;
};

} // namespace wintest
