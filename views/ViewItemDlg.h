#pragma once
// The item editor "Clip Item": one history entry's whole text in a large multi-line box, in one
// of two modes. Preview shows the text read-only and can only be closed. Edit lets the user
// change the text and close with Append (F2) or Replace (F3); Enter in the box is a line break.
//
// The dialog changes nothing itself: DoModal returns the button that closed it (RESULT_APPEND,
// RESULT_REPLACE or IDCANCEL) and GetResultText() the box's text at that moment; the caller acts
// on them. EditHistoryItem is that caller's part for the edit mode, shared by the history windows
// and the main frame's "Edit First Item" hotkey.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Dialog.h"
#include "history/ClipItem.h"
#include "history/KorvexDoc.h"

class CViewItemDlg : public CDialog {
public:
    static constexpr int32_t MODE_EDIT = 1;
    static constexpr int32_t MODE_PREVIEW = 2;
    static constexpr INT_PTR RESULT_APPEND = 1018;
    static constexpr INT_PTR RESULT_REPLACE = 1019;

    // pItem must stay valid until the dialog has opened (it is read once, as the dialog opens).
    // hParent null lets the dialog take the active window (the one that ran the command) as
    // its owner.
    CViewItemDlg(int32_t nMode, const CLIP_ITEM* pItem, HWND hParent = nullptr);

    // The box's whole text when Append or Replace closed the dialog; empty otherwise.
    const std::u16string& GetResultText() const { return m_strResultText; }

    // F2 appends and F3 replaces in both modes (doing nothing in preview); the message is
    // consumed either way.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    // An OK command never closes the editor: Enter belongs to the box.
    void OnOK() override {}
    bool OnCommand(UINT nId) override;

private:
    void Finish(INT_PTR nResult);

    int32_t m_nMode;
    std::u16string m_strResultText;
    const CLIP_ITEM* m_pItem;
    HWND m_hEdit = nullptr;
};

// Runs the editor in edit mode on the entry at nIndex (nothing when there is none) through
// fnRunModal, which calls the dialog's DoModal and returns its result, and carries the result
// out: Append puts the edited text on the clipboard, so it comes back as a new head entry;
// Replace writes it to the entry that was shown, wherever copies made meanwhile have moved it,
// and appends it as a new entry when that entry is gone. Returns the dialog's result (-1 when
// nothing was shown).
INT_PTR EditHistoryItem(CKorvexDoc& rDoc, int32_t nIndex, HWND hParent,
                        const std::function<INT_PTR(CViewItemDlg&)>& fnRunModal);
