#pragma once
// CMenu: owns a menu loaded from the program's resources, with the few calls Korvex makes on
// its pop-ups.

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Loads menu resource nId (destroying a menu held before). False when it does not exist.
    bool Load(UINT nId);
    void Destroy();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // The pop-up at position nPos of the menu bar, or null.
    HMENU GetSubMenu(int nPos) const;

private:
    HMENU m_hMenu = nullptr;
};

// Makes the item at position nPos the pop-up's default item (drawn in bold).
bool SetDefaultMenuItem(HMENU hPopup, int nPos);

// Shows a pop-up at a point in screen coordinates, with hOwner receiving WM_INITMENUPOPUP and
// the chosen command (nFlags as TrackPopupMenu, default 0: left/top at the point, left
// button). Returns when the menu closes.
void TrackPopup(HMENU hPopup, POINT ptScreen, HWND hOwner, UINT nFlags = 0);

// The whole tray/context-menu sequence: load menu resource nMenuId, take pop-up nPopupPos, make
// item nDefaultPos the default (when not -1), track it at ptScreen for hOwner, destroy it.
// Returns false when the menu or pop-up does not exist (nothing is shown then).
bool ShowPopupMenu(UINT nMenuId, int nPopupPos, POINT ptScreen, HWND hOwner, int nDefaultPos = -1);
