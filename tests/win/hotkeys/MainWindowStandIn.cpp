#include "MainWindowStandIn.h"

#include "hotkeys/KorvexMainWindow.h"

namespace {

const wchar_t g_szClassName[] = L"ZendelHookTestMainWindow";

void RegisterStandInClass(WNDPROC pfnWndProc) {
    WNDCLASSW wc = {};
    if (GetClassInfoW(GetModuleHandleW(nullptr), g_szClassName, &wc)) {
        return;
    }
    wc.lpfnWndProc = pfnWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = g_szClassName;
    RegisterClassW(&wc);
}

} // namespace

CMainWindowStandIn::CMainWindowStandIn(bool bWithMarker) {
    RegisterStandInClass(&CMainWindowStandIn::WndProc);
    m_hWnd = CreateWindowExW(0, g_szClassName, KORVEX_MAIN_WINDOW_TITLE, WS_OVERLAPPEDWINDOW, 0, 0,
                             200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (bWithMarker) {
        m_hMarker = CreateWindowExW(0, L"STATIC", KORVEX_MARKER_WINDOW_TITLE, WS_CHILD, 0, 0, 0, 0,
                                    m_hWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
}

CMainWindowStandIn::~CMainWindowStandIn() {
    if (m_hWnd != nullptr) {
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hWnd);
    }
}

void CMainWindowStandIn::RemoveMarker() {
    if (m_hMarker != nullptr) {
        DestroyWindow(m_hMarker);
        m_hMarker = nullptr;
    }
}

LRESULT CALLBACK CMainWindowStandIn::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto* pThis = reinterpret_cast<CMainWindowStandIn*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pThis != nullptr && nMsg >= WM_USER && nMsg < 0xC000) {
        pThis->m_vecMessages.push_back(nMsg);
        if (wParam != 0 || lParam != 0) {
            ++pThis->m_nNonZeroParameters;
        }
        return 0;
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}
