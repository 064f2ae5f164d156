#pragma once
// A hidden window whose messages go to a function the test gives: what it answers is handled,
// the rest goes to DefWindowProcW. Creation and destruction are not passed on.

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

namespace wintest {

class CHandlerWindow {
public:
    using Handler = std::function<std::optional<LRESULT>(UINT nMsg, WPARAM wParam, LPARAM lParam)>;

    // A top-level window by default, which FindWindowExW finds by its title; with hParent
    // HWND_MESSAGE a message-only window.
    explicit CHandlerWindow(Handler fnHandler, const wchar_t* pszTitle = L"",
                            HWND hParent = nullptr);
    ~CHandlerWindow();
    CHandlerWindow(const CHandlerWindow&) = delete;
    CHandlerWindow& operator=(const CHandlerWindow&) = delete;

    HWND Handle() const { return m_hWnd; }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    Handler m_fnHandler;
    HWND m_hWnd = nullptr;
};

// A window that records the application messages (WM_USER up to 0xBFFF) it is sent or that are
// dispatched to it, in order, and answers them with 0. Message-only by default.
class CRecordingWindow : public CHandlerWindow {
public:
    struct MESSAGE {
        UINT nMsg;
        WPARAM wParam;
        LPARAM lParam;
    };

    // No application message arrives while the base makes the window, before the vector lives.
    explicit CRecordingWindow(const wchar_t* pszTitle = L"", HWND hParent = HWND_MESSAGE)
        : CHandlerWindow(
              [this](UINT nMsg, WPARAM wParam, LPARAM lParam) {
                  if (nMsg < WM_USER || nMsg >= 0xC000) {
                      return std::optional<LRESULT>();
                  }
                  m_vecMessages.push_back({nMsg, wParam, lParam});
                  return std::optional<LRESULT>(0);
              },
              pszTitle, hParent) {}

    const std::vector<MESSAGE>& Messages() const { return m_vecMessages; }
    // The message numbers alone, in order.
    std::vector<UINT> MessageIds() const {
        std::vector<UINT> vecIds;
        for (const MESSAGE& oMessage : m_vecMessages) {
            vecIds.push_back(oMessage.nMsg);
        }
        return vecIds;
    }

private:
    std::vector<MESSAGE> m_vecMessages;
};

} // namespace wintest
