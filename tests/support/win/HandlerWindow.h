#pragma once
// A hidden top-level window whose messages go to a function the test gives: what it answers is
// handled, the rest goes to DefWindowProcW. Creation and destruction are not passed on.

#include <windows.h>

#include <functional>
#include <optional>

namespace wintest {

class CHandlerWindow {
public:
    using Handler = std::function<std::optional<LRESULT>(UINT nMsg, WPARAM wParam, LPARAM lParam)>;

    explicit CHandlerWindow(Handler fnHandler);
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
