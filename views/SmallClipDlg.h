#pragma once
// Lifetime: the main frame makes the object and its window once and keeps them between
// openings: every close only hides the window, and each opening brings the rows, the selection
// and the size in line before it shows it, so an opening costs the same however long the
// history is. Should the window be destroyed (the frame goes), its final destruction posts the
// release request to the frame, held back while a modal loop runs, so that the frame deletes the
// object from its own message loop, never under a handler of the window.
//
// The small clip window: a list of the history without caption that pops up at the mouse cursor
// on the "Show Clip Window" hotkey, over whatever program has the focus. The user picks entries
// and activates them: their text goes to the clipboard and, with "DoPaste" on, into the program
// the user was in. It offers the item commands of the main window's list (context-menu ids and
// shortcuts) and closes (hides) when it loses the activation, after an activation, on Esc and
// when the hotkey comes again. Typing filters its rows (FilterField.h): the first Esc then
// clears the filter, the next one closes the window.
//
// Why that is enough: a posted message reaches the frame only from a message loop. The loops
// that run under a handler of this window and return into code that goes on using the object
// are those of its message boxes, its editor and find dialog and its context menu, and they all
// count as modal (ModalState.h); the system's own loops (moving or sizing the window, the list's
// mouse tracking) return into handlers that touch nothing of the object any more. The frame
// deletes only an object whose window is gone, and not while a modal loop runs.

#include <windows.h>

#include <cstdint>

#include "FilterField.h"
#include "HistoryRows.h"
#include "ItemCommands.h"
#include "clipboard/KeyboardPlace.h"
#include "framework/Dialog.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "history/KorvexDoc.h"
#include "settings/KorvexSettings.h"

// Where the window opens: at the cursor, or left of it / above it when it would pass the right /
// bottom edge of rcScreen (the monitor under the cursor; ending exactly at the edge is not
// passing it). A stored width or height that is 0, negative or larger than the screen falls back
// to its default (the settings' default size at 96 DPI, scaled to nDpi).
RECT PlaceSmallClipWindow(POINT ptCursor, SIZE sizeStored, const RECT& rcScreen, UINT nDpi = 96);

class CSmallClipDlg : public CDialog, private IItemCommandWindow {
public:
    // rSettings: its size, where it stores the size it had, and the paste option; pFolded: the
    // document's folded texts, which its find-by-typing searches (none: no filter).
    CSmallClipDlg(CKorvexDoc& rDoc, CKorvexSettings& rSettings, CFoldedHistory* pFolded = nullptr);
    ~CSmallClipDlg() override;

    // Creates the window, hidden, with hWndFrame as its owner and the receiver of its release
    // request (WM_KORVEX_RELEASE_SMALL_CLIP).
    bool Create(HWND hWndFrame);
    // Remembers where the keyboard is, fills the rows afresh with row 0 selected and in view,
    // moves the window to the cursor (or the caret) with the stored size, topmost, shows it and
    // gives it the focus.
    void Open();
    bool IsOpen() const { return m_bOpen; }
    // A change of the document: hint 0 for the whole list, n for the entry at index n - 1. A
    // hidden window leaves its rows until it opens again.
    void Refresh(HistoryHint oHint);
    // Hides the window and stores the size it had, if it is open.
    void Close();
    // The same, and the keyboard goes back where it was before the window opened (Esc, the
    // hotkey again); a close by the activation going elsewhere leaves it there.
    void CloseGivingKeyboardBack();

    // A message box or dialog of one of its commands is open: the window must stay.
    bool IsModalChildOpen() const { return m_bModalChild; }
    // The window was created and is gone: the object waits for its release (and the frame
    // deletes only such an object).
    bool IsWindowGone() const { return m_hWndFrame != nullptr && m_hWnd == nullptr; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT nId) override;
    bool OnNotify(NMHDR* pnm, LRESULT* pResult) override;
    bool OnCommandNotify(UINT nId, UINT nCode, HWND hCtrl) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // What the item commands need of this window.
    HWND GetListHwnd() const override { return m_oList.GetSafeHwnd(); }
    HWND GetCommandHwnd() const override { return m_hWnd; }
    void AfterActivate() override;
    void AfterAppend() override;
    void SetModalChild(bool bOpen) override { m_bModalChild = bOpen; }
    int32_t EntryOfRow(int nRow) const override { return m_oRows.EntryOfRow(nRow); }
    int RowOfEntry(int32_t nEntry) const override { return m_oRows.RowOfEntry(nEntry); }

    void StoreSize();
    // The field above the list, the list below it.
    void Layout();
    void OnFilterChanged();
    // Open to closed: false when it was closed already. The size is stored as it goes.
    bool BeginClose();

    CKorvexSettings& m_rSettings;
    CItemCommands m_oCommands;
    CImageList m_oImageList;
    bool m_bModalChild = false;
    CListCtrl m_oList;
    CHistoryRows m_oRows;
    CFilterField m_oField;

    HWND m_hWndFrame = nullptr;
    KEYBOARD_PLACE m_oPlace; // where the keyboard was before this window opened: the paste's target
    bool m_bOpen = false;    // shown, and not closing: a close hides it
};
