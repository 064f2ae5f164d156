#pragma once
// A window whose messages go to a function that the test gives: the messages it answers (with a
// result) are handled, the rest go to DefWindowProcW. The messages of its creation and
// destruction are not passed to the function.

#include <windows.h>

#include <functional>
#include <optional>

namespace wintest {

class CHandlerWindow {
public:
    using Handler = std::function<std::optional<LRESULT>(UINT nMsg, WPARAM wParam, LPARAM lParam)>;

    // A hidden top-level window by default; HWND_MESSAGE makes it message-only.
    explicit CHandlerWindow(Handler fnHandler, HWND hParent = nullptr);
    ~CHandlerWindow();
    CHandlerWindow(const CHandlerWindow&) = delete;
    CHandlerWindow& operator=(const CHandlerWindow&) = delete;

    HWND Handle() const { return m_hWnd; }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    Handler m_fnHandler;
    HWND m_hWnd = nullptr;
};

} // namespace wintest
