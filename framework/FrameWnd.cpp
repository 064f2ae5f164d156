#include "framework/FrameWnd.h"

#include "framework/CmdUI.h"

bool CFrameWnd::LoadFrame(UINT nIdResource, const wchar_t* pszTitle, DWORD dwStyle, HWND hParent) {
    HINSTANCE hInstance = GetModuleHandleW(nullptr);
    HMENU hMenu = LoadMenuW(hInstance, MAKEINTRESOURCEW(nIdResource));
    if (!CreateEx(0, nullptr, pszTitle, dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, hParent, reinterpret_cast<UINT_PTR>(hMenu))) {
        if (hMenu && IsMenu(hMenu)) { // a window that existed took its menu with it
            DestroyMenu(hMenu);
        }
        return false;
    }
    auto hBig = static_cast<HICON>(LoadImageW(hInstance, MAKEINTRESOURCEW(nIdResource), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON), LR_SHARED));
    auto hSmall = static_cast<HICON>(LoadImageW(hInstance, MAKEINTRESOURCEW(nIdResource),
                                                IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (hBig) {
        SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hBig));
    }
    if (hSmall) {
        SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
    }
    return true;
}

void CFrameWnd::SetActiveView(CWnd* pView) {
    m_pActiveView = pView;
    if (m_hWnd) {
        RecalcLayout();
    }
}

void CFrameWnd::RecalcLayout() {
    if (!m_hWnd || !m_pActiveView || !m_pActiveView->m_hWnd) {
        return;
    }
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    SetWindowPos(m_pActiveView->m_hWnd, nullptr, 0, 0, rc.right, rc.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED) {
        RecalcLayout();
    }
}

void CFrameWnd::UpdateMenuItems(HMENU hMenu) {
    int nCount = GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &mii)) {
            continue;
        }
        if (mii.hSubMenu || (mii.fType & MFT_SEPARATOR) || mii.wID == 0) {
            continue;
        }
        CCmdUI ui(hMenu, static_cast<UINT>(i), mii.wID);
        CWnd* pView = m_pActiveView && m_pActiveView->m_hWnd ? m_pActiveView : nullptr;
        if (!(pView && pView->OnUpdateCommand(mii.wID, ui))) {
            OnUpdateCommand(mii.wID, ui);
        }
    }
}

LRESULT CFrameWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_COMMAND: {
        // The user's commands go to the view first.
        if (IsMenuOrAcceleratorCommand(wParam, lParam)) {
            UINT nId = LOWORD(wParam);
            CWnd* pView = m_pActiveView && m_pActiveView->m_hWnd ? m_pActiveView : nullptr;
            if (pView && pView->OnCommand(nId)) {
                return 0;
            }
            if (OnCommand(nId)) {
                return 0;
            }
            return Default();
        }
        break;
    }
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) { // not the system menu
            UpdateMenuItems(reinterpret_cast<HMENU>(wParam));
        }
        return Default();
    default:
        break;
    }
    return CWnd::WindowProc(nMsg, wParam, lParam);
}
