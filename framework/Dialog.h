#pragma once
// CDialog: a dialog from a resource template, modal or modeless.
//
// Modal: construct on the stack, call DoModal(), read the result. DoModal disables the owner,
// runs the program's own message loop (so PreTranslateMessage of the dialog and its controls
// runs, and the rest of the program keeps handling its messages), and returns the value given
// to EndDialog: IDOK, IDCANCEL or any other id. It counts as an open modal dialog for
// IsModalLoopActive() while it runs.
//
// Modeless: Create(parent) creates the window and returns at once; the message loop gives it
// keyboard navigation (IsDialogMessage, through PreTranslateMessage). EndDialog on a modeless
// dialog destroys its window.
//
// OK (Enter, the default button) and Cancel (Esc, the close box) arrive as WM_COMMAND IDOK and
// IDCANCEL and call OnOK and OnCancel; both end the dialog unless overridden.

#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    // nIdTemplate: the DIALOG resource. hParent: the owner; null lets DoModal take
    // CWnd::GetSafeOwner(null) (the window that is active, usually the one that ran the command).
    explicit CDialog(UINT nIdTemplate, HWND hParent = nullptr)
        : m_nIdTemplate(nIdTemplate), m_hParent(hParent) {}

    // Runs the dialog modally; returns the EndDialog value, or -1 when it could not be created.
    INT_PTR DoModal();
    // Creates the dialog modeless (shown if its template says WS_VISIBLE). hParent overrides the
    // constructor's parent when not null. Returns false when no window was created.
    bool Create(HWND hParent = nullptr);
    // Ends a modal run with nResult (DoModal returns it once the current message is handled), or
    // destroys a modeless dialog.
    void EndDialog(int nResult);

    HWND GetDlgItem(int nId) const { return ::GetDlgItem(m_hWnd, nId); }

    // Keyboard navigation of the dialog (IsDialogMessage) for messages to it or its controls.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // After the controls exist. Return TRUE to let the system focus the first control.
    virtual BOOL OnInitDialog();
    virtual void OnOK();     // EndDialog(IDOK)
    virtual void OnCancel(); // EndDialog(IDCANCEL)
    // Base: IDOK to OnOK, IDCANCEL to OnCancel; anything else not handled.
    bool OnCommand(UINT nId) override;

    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND CreateFromTemplate(HWND hOwner);

    UINT m_nIdTemplate;
    HWND m_hParent;
    bool m_bModal = false;
    bool m_bEndModal = false;
    INT_PTR m_nResult = -1;
};
