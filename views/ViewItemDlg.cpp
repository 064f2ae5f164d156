#include "ViewItemDlg.h"

#include "ItemCommands.h"
#include "WindowText.h"
#include "res/resource.h"

#include <vector>

static_assert(CViewItemDlg::RESULT_APPEND == IDC_VIEWITEM_APPEND);
static_assert(CViewItemDlg::RESULT_REPLACE == IDC_VIEWITEM_REPLACE);

CViewItemDlg::CViewItemDlg(int32_t nMode, const CLIP_ITEM* pItem, HWND hParent)
    : CDialog(IDD_VIEWITEM, hParent), m_nMode(nMode), m_pItem(pItem) {}

BOOL CViewItemDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_hEdit = GetDlgItem(IDC_VIEWITEM_TEXT);
    if (m_nMode == MODE_PREVIEW) {
        EnableWindow(GetDlgItem(IDC_VIEWITEM_APPEND), FALSE);
        EnableWindow(GetDlgItem(IDC_VIEWITEM_REPLACE), FALSE);
        SendMessageW(m_hEdit, EM_SETREADONLY, TRUE, 0);
    }
    // No length limit: the box takes the whole entry, and the user can still type into it.
    SendMessageW(m_hEdit, EM_SETLIMITTEXT, 0, 0);
    if (m_pItem != nullptr) {
        SetWindowTextW(m_hEdit, reinterpret_cast<const wchar_t*>(m_pItem->strText.c_str()));
    }
    m_pItem = nullptr; // read once: the entry may go while the editor is open
    // Opened by a hotkey from another program: the editor is where the user types next.
    SetForegroundWindow(m_hWnd);
    return TRUE;
}

BOOL CViewItemDlg::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd != nullptr && pMsg->message == WM_KEYDOWN &&
        (pMsg->hwnd == m_hWnd || IsChild(m_hWnd, pMsg->hwnd))) {
        if (pMsg->wParam == VK_F2) {
            Finish(RESULT_APPEND);
            return TRUE;
        }
        if (pMsg->wParam == VK_F3) {
            Finish(RESULT_REPLACE);
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

bool CViewItemDlg::OnCommand(UINT nId) {
    if (nId == IDC_VIEWITEM_APPEND || nId == IDC_VIEWITEM_REPLACE) {
        Finish(nId);
        return true;
    }
    return CDialog::OnCommand(nId);
}

void CViewItemDlg::Finish(INT_PTR nResult) {
    if (m_nMode == MODE_PREVIEW) {
        return;
    }
    m_strResultText = GetWholeWindowText(m_hEdit);
    EndDialog(static_cast<int>(nResult));
}

INT_PTR EditHistoryItem(CKorvexDoc& rDoc, int32_t nIndex, HWND hParent,
                        const std::function<INT_PTR(CViewItemDlg&)>& fnRunModal) {
    const CLIP_ITEM* pItem = rDoc.FindItem(nIndex);
    if (pItem == nullptr) {
        return -1;
    }
    const CSeenEntries seen(rDoc, std::vector<int32_t>{nIndex});
    CViewItemDlg dlg(CViewItemDlg::MODE_EDIT, pItem, hParent);
    const INT_PTR nResult = fnRunModal(dlg);
    if (nResult == CViewItemDlg::RESULT_APPEND) {
        rDoc.WriteClipboardText(dlg.GetResultText());
    } else if (nResult == CViewItemDlg::RESULT_REPLACE) {
        const std::vector<int32_t> arrNow = seen.FindNow();
        if (arrNow.size() == 1) {
            rDoc.ReplaceItemText(arrNow.front(), dlg.GetResultText());
        } else {
            rDoc.WriteClipboardText(dlg.GetResultText()); // the entry went meanwhile: keep the text
        }
    }
    return nResult;
}
