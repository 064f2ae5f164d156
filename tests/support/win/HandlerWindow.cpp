#include "tests/support/win/HandlerWindow.h"

namespace wintest {

namespace {

const wchar_t g_szClassName[] = L"KorvexTestHandlerWindow";

} // namespace

CHandlerWindow::CHandlerWindow(Handler fnHandler, const wchar_t* pszTitle, HWND hParent)
    : m_fnHandler(std::move(fnHandler)) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &CHandlerWindow::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = g_szClassName;
    RegisterClassW(&wc); // fails harmlessly when already registered
    m_hWnd = CreateWindowExW(0, g_szClassName, pszTitle, hParent ? 0 : WS_OVERLAPPED, 0, 0, 100,
                             100, hParent, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CHandlerWindow::~CHandlerWindow() {
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CHandlerWindow::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (auto* pThis = reinterpret_cast<CHandlerWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA))) {
        if (const std::optional<LRESULT> optResult = pThis->m_fnHandler(nMsg, wParam, lParam)) {
            return *optResult;
        }
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

} // namespace wintest
