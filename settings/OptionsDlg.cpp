#include "settings/OptionsDlg.h"

#include "framework/Dpi.h"
#include "res/KorvexMessages.h"
#include "res/resource.h"
#include "settings/EditHotkeyDlg.h"
#include "settings/KorvexSettings.h"
#include "settings/OptionsRows.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kColumnHotkey = 1;
constexpr UINT kFieldLimit = 3; // characters of each number field
constexpr int kFieldReadLimit = 15;
constexpr uint32_t kMostForgetMinutes = 999;
constexpr DWORD kListStyles =
    LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP; // 0x4421
// The command's name, then its hotkey (column kColumnHotkey).
constexpr LIST_COLUMN kColumns[] = {
    {L"Command Name", LVCFMT_LEFT, 260},
    {L"Hotkey", LVCFMT_LEFT, 140},
};

// "Keep history between runs": the choices in the order of their stored numbers (KeepMode).
constexpr const wchar_t* kKeepChoices[] = {L"Nothing", L"Bookmarked entries", L"All entries"};

std::wstring GetFieldText(HWND hDlg, int nId, size_t nLimit = kFieldReadLimit) {
    std::wstring strText(nLimit + 1, L'\0');
    strText.resize(static_cast<size_t>(
        GetDlgItemTextW(hDlg, nId, strText.data(), static_cast<int>(strText.size()))));
    return strText;
}

bool IsDigitField(int nId) {
    return nId == IDC_ITEMS_COUNT || nId == IDC_MAX_COPY_SIZE || nId == IDC_FORGET_AFTER;
}

} // namespace

COptionsDlg::COptionsDlg(const CCommandTable& oCommands, CKeyboardAccelerator& oAccelerator,
                         CKorvexSettings& oSettings, HWND hParent)
    : CDialog(IDD_OPTIONS, hParent), m_rCommands(oCommands), m_rAccelerator(oAccelerator),
      m_rSettings(oSettings) {}

BOOL COptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendDlgItemMessageW(m_hWnd, IDC_ITEMS_COUNT, EM_LIMITTEXT, kFieldLimit, 0);
    SendDlgItemMessageW(m_hWnd, IDC_MAX_COPY_SIZE, EM_LIMITTEXT, kFieldLimit, 0);
    SendDlgItemMessageW(m_hWnd, IDC_FORGET_AFTER, EM_LIMITTEXT, kFieldLimit, 0);
    SendDlgItemMessageW(m_hWnd, IDC_NEVER_RECORD_FROM, EM_LIMITTEXT, NEVER_RECORD_FROM_MAX_LENGTH,
                        0);
    FillList();

    // A negative size (a hand edit) keeps no entry: shown as the 0 it means, so that OK does not
    // turn it into a positive number.
    SetDlgItemTextW(m_hWnd, IDC_ITEMS_COUNT,
                    std::to_wstring(std::max<int32_t>(0, m_rSettings.GetBufferSize())).c_str());
    SetDlgItemTextW(m_hWnd, IDC_MAX_COPY_SIZE,
                    std::to_wstring(m_rSettings.GetMaxClipboardCopySize()).c_str());
    // A larger number (a hand edit) is shown as the most the field takes, which OK stores.
    SetDlgItemTextW(
        m_hWnd, IDC_FORGET_AFTER,
        std::to_wstring(std::min(m_rSettings.GetForgetAfterMinutes(), kMostForgetMinutes)).c_str());
    SetDlgItemTextW(m_hWnd, IDC_NEVER_RECORD_FROM, m_rSettings.GetNeverRecordFrom().c_str());
    CheckDlgButton(m_hWnd, IDC_PASTE_ACTIVATED,
                   m_rSettings.IsDoPaste() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_OPEN_AT_CARET,
                   m_rSettings.IsOpenAtCaret() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_START_WITH_WINDOWS,
                   CKorvexSettings::IsStartWithWindows() ? BST_CHECKED : BST_UNCHECKED);
    for (const wchar_t* pszChoice : kKeepChoices) {
        SendDlgItemMessageW(m_hWnd, IDC_KEEP_HISTORY, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(pszChoice));
    }
    SendDlgItemMessageW(m_hWnd, IDC_KEEP_HISTORY, CB_SETCURSEL,
                        static_cast<WPARAM>(m_rSettings.GetKeepHistory()), 0);
    return FALSE; // the focus is on the list's first command
}

LRESULT COptionsDlg::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    // A number field shows the digits OK will store as soon as its text changes (a paste can
    // bring in what the field's digits-only style lets no key type).
    if (nMsg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && IsDigitField(LOWORD(wParam))) {
        const std::wstring strText = GetFieldText(m_hWnd, LOWORD(wParam));
        std::wstring strDigits;
        std::copy_if(strText.begin(), strText.end(), std::back_inserter(strDigits),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; });
        if (strDigits != strText) {
            const HWND hField = GetDlgItem(LOWORD(wParam));
            DWORD nCaret = 0;
            SendMessageW(hField, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&nCaret));
            const auto nDropped = static_cast<DWORD>(strText.size() - strDigits.size());
            SetWindowTextW(hField, strDigits.c_str()); // comes back here once, all digits
            nCaret = nCaret > nDropped ? nCaret - nDropped : 0;
            SendMessageW(hField, EM_SETSEL, nCaret, nCaret);
        }
    }
    return CDialog::WindowProc(nMsg, wParam, lParam);
}

void COptionsDlg::FillList() {
    m_lstHotkeys = CListCtrl(GetDlgItem(IDC_HOTKEY_LIST));
    m_lstHotkeys.InsertColumns(kColumns, GetWindowDpi(m_hWnd));
    m_lstHotkeys.SetExtendedStyle(kListStyles);

    for (const OPTIONS_ROW& oRow : BuildOptionsRows(m_rCommands, m_rSettings)) {
        const int nRow = m_lstHotkeys.InsertItem(m_lstHotkeys.GetItemCount(), oRow.strName.c_str(),
                                                 static_cast<LPARAM>(oRow.nMessage));
        if (nRow >= 0) {
            m_lstHotkeys.SetItemText(nRow, kColumnHotkey, oRow.strHotkey.c_str());
        }
    }
    // The keyboard starts on the first command (row 0 is its group's caption).
    int nFirst = 0;
    while (nFirst < m_lstHotkeys.GetItemCount() && m_lstHotkeys.GetItemData(nFirst) == 0) {
        ++nFirst;
    }
    m_lstHotkeys.SetItemState(nFirst, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_lstHotkeys.SetSelectionMark(nFirst);
    ::SetFocus(m_lstHotkeys.GetSafeHwnd());
}

void COptionsDlg::RefreshHotkeys() {
    std::map<uint32_t, std::wstring> mapTexts;
    for (OPTIONS_ROW& oRow : BuildOptionsRows(m_rCommands, m_rSettings)) {
        mapTexts[oRow.nMessage] = std::move(oRow.strHotkey);
    }
    const int nCount = m_lstHotkeys.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow) {
        const auto it = mapTexts.find(GetRowMessage(nRow));
        if (it != mapTexts.end() && it->first != 0) {
            m_lstHotkeys.SetItemText(nRow, kColumnHotkey, it->second.c_str());
        }
    }
}

uint32_t COptionsDlg::GetRowMessage(int nRow) const {
    return static_cast<uint32_t>(m_lstHotkeys.GetItemData(nRow));
}

void COptionsDlg::ActivateRow(int nRow) {
    const uint32_t nMessage = GetRowMessage(nRow);
    if (nMessage == 0) {
        return;
    }
    CEditHotkeyDlg dlg(nMessage, m_rCommands, m_rAccelerator, m_rSettings, m_hWnd);
    if (dlg.DoModal() == IDOK && m_hWnd != nullptr) {
        // Taking a combination may have unbound another command.
        RefreshHotkeys();
    }
}

bool COptionsDlg::OnNotify(NMHDR* pnm, LRESULT* pResult) {
    if (pnm->idFrom != IDC_HOTKEY_LIST || pnm->code != LVN_ITEMACTIVATE) {
        return false;
    }
    *pResult = 0;
    ActivateRow(reinterpret_cast<NMITEMACTIVATE*>(pnm)->iItem);
    return true;
}

BOOL COptionsDlg::PreTranslateMessage(MSG* pMsg) {
    // In a dialog, Enter presses the default button; on the list it opens the row's editor.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && m_hWnd != nullptr &&
        pMsg->hwnd == m_lstHotkeys.GetSafeHwnd()) {
        const std::vector<int> vecSelected = m_lstHotkeys.GetSelectedItems();
        ActivateRow(vecSelected.empty() ? -1 : vecSelected.front());
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void COptionsDlg::OnOK() {
    const uint32_t nBufferSize = ParseDigitField(GetFieldText(m_hWnd, IDC_ITEMS_COUNT));
    const uint32_t nMaxCopySize = ParseDigitField(GetFieldText(m_hWnd, IDC_MAX_COPY_SIZE));
    m_rSettings.SetBufferSize(static_cast<int32_t>(nBufferSize));
    m_rSettings.SetMaxClipboardCopySize(nMaxCopySize);
    m_rSettings.SetForgetAfterMinutes(
        std::min(ParseDigitField(GetFieldText(m_hWnd, IDC_FORGET_AFTER)), kMostForgetMinutes));
    m_rSettings.SetNeverRecordFrom(
        GetFieldText(m_hWnd, IDC_NEVER_RECORD_FROM, NEVER_RECORD_FROM_MAX_LENGTH));
    m_rSettings.SetDoPaste(IsDlgButtonChecked(m_hWnd, IDC_PASTE_ACTIVATED) == BST_CHECKED);
    m_rSettings.SetOpenAtCaret(IsDlgButtonChecked(m_hWnd, IDC_OPEN_AT_CARET) == BST_CHECKED);
    CKorvexSettings::SetStartWithWindows(IsDlgButtonChecked(m_hWnd, IDC_START_WITH_WINDOWS) ==
                                         BST_CHECKED);
    const LRESULT nKeep = SendDlgItemMessageW(m_hWnd, IDC_KEEP_HISTORY, CB_GETCURSEL, 0, 0);
    if (nKeep >= 0 && nKeep < static_cast<LRESULT>(std::size(kKeepChoices))) {
        m_rSettings.SetKeepHistory(static_cast<KeepMode>(nKeep));
    }
    if (CWnd* pMain = CWnd::GetMainWindow(); pMain != nullptr && pMain->m_hWnd != nullptr) {
        PostMessageW(pMain->m_hWnd, WM_KORVEX_OPTIONS_CHANGED, 0, 0);
    }
    CDialog::OnOK();
}
