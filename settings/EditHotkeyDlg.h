#pragma once
// The hotkey editor: binds one hotkey command to a key with modifiers, or unbinds it with
// "(None)". OK takes the combination from another command only when the user says so, and
// applies the binding at once to the live hotkey table and to the settings.

#include "framework/Dialog.h"

#include <cstdint>

class CCommandTable;
class CKeyboardAccelerator;
class CKorvexSettings;

class CEditHotkeyDlg : public CDialog {
public:
    CEditHotkeyDlg(uint32_t nMessage, const CCommandTable& oCommands,
                   CKeyboardAccelerator& oAccelerator, CKorvexSettings& oSettings,
                   HWND hParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    uint32_t m_nMessage;
    const CCommandTable& m_rCommands;
    CKeyboardAccelerator& m_rAccelerator;
    CKorvexSettings& m_rSettings;
};
