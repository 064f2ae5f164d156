#pragma once
// CCmdUI: one menu item while its menu opens. The frame hands it to OnUpdateCommand of the
// active view and then of the frame; the handler enables, disables or checks the item.

#include <windows.h>

class CCmdUI {
public:
    CCmdUI(HMENU hMenu, UINT nIndex, UINT nId) : m_hMenu(hMenu), m_nIndex(nIndex), m_nId(nId) {}

    UINT GetId() const { return m_nId; }
    void Enable(bool bOn = true);
    void SetCheck(bool bChecked = true);

private:
    HMENU m_hMenu;
    UINT m_nIndex; // position of the item in m_hMenu
    UINT m_nId;
};
