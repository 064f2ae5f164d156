#include "settings/EditHotkeyDlg.h"

#include "framework/MessageBox.h"
#include "res/resource.h"
#include "settings/ApplicationRegistry.h"
#include "settings/CommandTable.h"
#include "settings/HotkeyBinding.h"
#include "settings/KeyNameTable.h"
#include "settings/KorvexSettings.h"

#include <string>

namespace {

bool IsTicked(HWND hDlg, int nId) {
    return IsDlgButtonChecked(hDlg, nId) == BST_CHECKED;
}

void Tick(HWND hDlg, int nId, uint32_t nModifier) {
    CheckDlgButton(hDlg, nId, nModifier != 0 ? BST_CHECKED : BST_UNCHECKED);
}

} // namespace

CEditHotkeyDlg::CEditHotkeyDlg(uint32_t nMessage, const CCommandTable& oCommands,
                               CKeyboardAccelerator& oAccelerator, CKorvexSettings& oSettings,
                               HWND hParent)
    : CDialog(IDD_EDIT_HOTKEY, hParent), m_nMessage(nMessage), m_rCommands(oCommands),
      m_rAccelerator(oAccelerator), m_rSettings(oSettings) {}

BOOL CEditHotkeyDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    MESSAGE_DESCRIPTION oCommand;
    if (m_rCommands.Lookup(m_nMessage, oCommand)) {
        SetDlgItemTextW(m_hWnd, IDC_COMMAND_NAME, oCommand.szName);
    }

    const uint32_t nBinding = m_rCommands.GetHotkey(m_rSettings, m_nMessage);
    const uint16_t nKey = CApplicationRegistry::GetHotkeyKey(nBinding);
    const HWND hKeys = GetDlgItem(IDC_HOTKEY_KEY);
    CKeyNameTable oKeyNames;
    oKeyNames.Build();
    for (const uint16_t nCode : oKeyNames.GetKeyCodes()) {
        std::wstring strName;
        oKeyNames.GetKeyName(nCode, strName);
        const LRESULT nEntry =
            SendMessageW(hKeys, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strName.c_str()));
        if (nEntry < 0) {
            continue;
        }
        SendMessageW(hKeys, CB_SETITEMDATA, nEntry, nCode);
        if (nCode == nKey) {
            SendMessageW(hKeys, CB_SETCURSEL, nEntry, 0);
        }
    }
    Tick(m_hWnd, IDC_HOTKEY_CTRL, CApplicationRegistry::HasCtrl(nBinding));
    Tick(m_hWnd, IDC_HOTKEY_ALT, CApplicationRegistry::HasAlt(nBinding));
    Tick(m_hWnd, IDC_HOTKEY_SHIFT, CApplicationRegistry::HasShift(nBinding));
    return TRUE;
}

void CEditHotkeyDlg::OnOK() {
    const HWND hKeys = GetDlgItem(IDC_HOTKEY_KEY);
    const LRESULT nSelected = SendMessageW(hKeys, CB_GETCURSEL, 0, 0);
    const uint16_t nKey =
        nSelected < 0 ? 0
                      : static_cast<uint16_t>(SendMessageW(hKeys, CB_GETITEMDATA, nSelected, 0));
    const uint32_t nBinding = CApplicationRegistry::MakeHotkey(
        IsTicked(m_hWnd, IDC_HOTKEY_CTRL), IsTicked(m_hWnd, IDC_HOTKEY_ALT),
        IsTicked(m_hWnd, IDC_HOTKEY_SHIFT), nKey);

    const uint32_t nHolder = FindHotkeyConflict(m_rAccelerator, m_nMessage, nBinding);
    if (nHolder != 0) {
        MESSAGE_DESCRIPTION oHolder;
        m_rCommands.Lookup(nHolder, oHolder);
        const std::wstring strQuestion =
            std::wstring(L"This Hotkey Configuration is assigned to '") + oHolder.szName +
            L"' command.\nDo you want to overwrite it?";
        if (KorvexMessageBox(m_hWnd, strQuestion.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
            return; // nothing changes; the editor stays open
        }
    }
    ApplyHotkeyBinding(m_rCommands, m_rAccelerator, m_rSettings, m_nMessage, nBinding, nHolder);
    CDialog::OnOK();
}
