#include "tests/support/win/RecordingWindow.h"

namespace wintest {

namespace {

const wchar_t g_szClassName[] = L"KorvexTestRecordingWindow";

} // namespace

CRecordingWindow::CRecordingWindow(const wchar_t* pszTitle, HWND hParent) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &CRecordingWindow::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = g_szClassName;
    RegisterClassW(&wc); // fails harmlessly when already registered
    m_hWnd = CreateWindowExW(0, g_szClassName, pszTitle, hParent ? 0 : WS_OVERLAPPEDWINDOW, 0, 0,
                             200, 100, hParent, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CRecordingWindow::~CRecordingWindow() {
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
}

std::vector<UINT> CRecordingWindow::MessageIds() const {
    std::vector<UINT> vecIds;
    for (const MESSAGE& oMessage : m_vecMessages) {
        vecIds.push_back(oMessage.nMsg);
    }
    return vecIds;
}

LRESULT CALLBACK CRecordingWindow::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto* pThis = reinterpret_cast<CRecordingWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pThis != nullptr && nMsg >= WM_USER && nMsg < 0xC000) {
        pThis->m_vecMessages.push_back({nMsg, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

} // namespace wintest
