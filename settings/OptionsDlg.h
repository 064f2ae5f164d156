#pragma once
// The options dialog: every hotkey command with its binding (a row opens the hotkey editor),
// the history size, the largest clipboard text taken, "Start with Windows", "Paste Activated
// Item", "Open at the text caret", what is kept between runs, the minutes after which entries
// are forgotten and the programs never recorded. OK writes the system options and tells the main
// window; Cancel writes nothing. Hotkey changes are written by the editor as it closes, so Cancel
// here does not undo them.

#include "framework/Dialog.h"
#include "framework/ListCtrl.h"

#include <cstdint>

class CCommandTable;
class CKeyboardAccelerator;
class CKorvexSettings;

class COptionsDlg : public CDialog {
public:
    // oCommands: the hotkey commands; oAccelerator: the live hotkey table that the editor
    // changes; oSettings: what the dialog shows, and where OK and the editor write.
    COptionsDlg(const CCommandTable& oCommands, CKeyboardAccelerator& oAccelerator,
                CKorvexSettings& oSettings, HWND hParent = nullptr);

    // Enter on a row of the list opens its editor instead of pressing OK.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnNotify(NMHDR* pnm, LRESULT* pResult) override;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

private:
    void FillList();
    // The hotkey text of every row, from the stored bindings.
    void RefreshHotkeys();
    // Opens the hotkey editor for the command of the row; caption rows open nothing.
    void ActivateRow(int nRow);
    uint32_t GetRowMessage(int nRow) const;

    const CCommandTable& m_rCommands;
    CKeyboardAccelerator& m_rAccelerator;
    CKorvexSettings& m_rSettings;
    CListCtrl m_lstHotkeys;
};
