#include "framework/Menu.h"

namespace {

// Owns a menu loaded from the program's resources.
class CMenu {
public:
    explicit CMenu(UINT nId)
        : m_hMenu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId))) {}
    ~CMenu() {
        if (m_hMenu) {
            DestroyMenu(m_hMenu);
        }
    }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // The pop-up at position nPos of the menu bar, or null.
    HMENU GetSubMenu(int nPos) const { return m_hMenu ? ::GetSubMenu(m_hMenu, nPos) : nullptr; }

private:
    HMENU m_hMenu;
};

} // namespace

bool ShowPopupMenu(UINT nMenuId, int nPopupPos, POINT ptScreen, HWND hOwner, int nDefaultPos) {
    CMenu menu(nMenuId);
    HMENU hPopup = menu.GetSubMenu(nPopupPos);
    if (!hPopup) {
        return false;
    }
    if (nDefaultPos >= 0) {
        SetMenuDefaultItem(hPopup, static_cast<UINT>(nDefaultPos), TRUE);
    }
    TrackPopupMenu(hPopup, 0, ptScreen.x, ptScreen.y, 0, hOwner, nullptr);
    return true;
}
