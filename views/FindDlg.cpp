#include "FindDlg.h"

#include "WindowText.h"
#include "res/resource.h"
#include "settings/KorvexSettings.h"

static_assert(CFindDlg::RESULT_FIND_NEXT == IDC_FIND_NEXT);
static_assert(CFindDlg::RESULT_BOOKMARK_ALL == IDC_FIND_BOOKMARK_ALL);

namespace {

int32_t IsTicked(HWND hBox) {
    return SendMessageW(hBox, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Tick(HWND hBox, int32_t bTicked) {
    SendMessageW(hBox, BM_SETCHECK, bTicked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

CFindDlg::CFindDlg(FIND_CRITERIA* pCriteria, HWND hParent)
    : CDialog(IDD_FIND, hParent), m_pCriteria(pCriteria) {}

BOOL CFindDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pCriteria != nullptr) {
        SetDlgItemTextW(m_hWnd, IDC_FIND_TEXT,
                        reinterpret_cast<const wchar_t*>(m_pCriteria->strText.c_str()));
        Tick(GetDlgItem(IDC_FIND_MATCH_CASE), m_pCriteria->bMatchCase);
        Tick(GetDlgItem(IDC_FIND_WHOLE_WORD), m_pCriteria->bWholeWord);
    }
    return TRUE;
}

bool CFindDlg::OnCommand(UINT nId) {
    if (nId == IDC_FIND_NEXT || nId == IDC_FIND_BOOKMARK_ALL) {
        EndDialog(static_cast<int>(nId));
        return true;
    }
    return CDialog::OnCommand(nId);
}

void CFindDlg::OnDestroy() {
    // Before the controls go: the search that follows uses what the user has just entered.
    StoreCriteria();
    StoreSize();
    Default();
}

void CFindDlg::StoreCriteria() {
    if (m_pCriteria == nullptr) {
        return;
    }
    m_pCriteria->strText = GetWholeWindowText(GetDlgItem(IDC_FIND_TEXT));
    m_pCriteria->bMatchCase = IsTicked(GetDlgItem(IDC_FIND_MATCH_CASE));
    m_pCriteria->bWholeWord = IsTicked(GetDlgItem(IDC_FIND_WHOLE_WORD));
}

void CFindDlg::StoreSize() {
    SIZE size{};
    if (GetNormalWindowSize(m_hWnd, size)) {
        CKorvexSettings::StoreFindWindowSize(size);
    }
}
