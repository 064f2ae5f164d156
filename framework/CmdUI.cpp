#include "framework/CmdUI.h"

void CCmdUI::Enable(bool bOn) {
    EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
}

void CCmdUI::SetCheck(bool bChecked) {
    CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bChecked ? MF_CHECKED : MF_UNCHECKED));
}
