#include "framework/Menu.h"

CMenu::~CMenu() {
    Destroy();
}

bool CMenu::Load(UINT nId) {
    Destroy();
    m_hMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId));
    return m_hMenu != nullptr;
}

void CMenu::Destroy() {
    if (m_hMenu) {
        DestroyMenu(m_hMenu);
    }
    m_hMenu = nullptr;
}

HMENU CMenu::GetSubMenu(int nPos) const {
    return m_hMenu ? ::GetSubMenu(m_hMenu, nPos) : nullptr;
}

bool SetDefaultMenuItem(HMENU hPopup, int nPos) {
    return SetMenuDefaultItem(hPopup, static_cast<UINT>(nPos), TRUE) != FALSE;
}

void TrackPopup(HMENU hPopup, POINT ptScreen, HWND hOwner, UINT nFlags) {
    TrackPopupMenu(hPopup, nFlags, ptScreen.x, ptScreen.y, 0, hOwner, nullptr);
}

bool ShowPopupMenu(UINT nMenuId, int nPopupPos, POINT ptScreen, HWND hOwner, int nDefaultPos) {
    CMenu menu;
    if (!menu.Load(nMenuId)) {
        return false;
    }
    HMENU hPopup = menu.GetSubMenu(nPopupPos);
    if (!hPopup) {
        return false;
    }
    if (nDefaultPos >= 0) {
        SetDefaultMenuItem(hPopup, nDefaultPos);
    }
    TrackPopup(hPopup, ptScreen, hOwner);
    return true;
}
