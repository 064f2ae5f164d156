#include "framework/Dialog.h"

#include "framework/Centre.h"
#include "framework/Foreground.h"
#include "framework/MessageLoop.h"
#include "framework/ModalState.h"

namespace {

// The dialog's window procedure is our own (the window is subclassed when it is created), so the
// dialog procedure has nothing to do; it must exist for the system to send WM_INITDIALOG.
INT_PTR CALLBACK NullDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

} // namespace

HWND CDialog::CreateFromTemplate(HWND hOwner) {
    HWND hWnd = nullptr;
    {
        CCreationHook hook(this);
        hWnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIdTemplate),
                                  hOwner, &NullDialogProc, 0);
    }
    if (hWnd && m_hWnd != hWnd) { // not ours after all: do not leave a stray window behind
        ::DestroyWindow(hWnd);
        return nullptr;
    }
    return hWnd;
}

bool CDialog::Create(HWND hParent) {
    if (m_hWnd) {
        return false;
    }
    if (hParent) {
        m_hParent = hParent;
    }
    m_bModal = false;
    return CreateFromTemplate(m_hParent) != nullptr;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) {
        return -1;
    }
    CModalScope modal;
    const HWND hWndBefore = ForeignForeground();
    HWND hOwner = CWnd::GetSafeOwner(m_hParent);
    bool bEnableOwner = false;
    if (hOwner && IsWindowEnabled(hOwner)) {
        EnableWindow(hOwner, FALSE);
        bEnableOwner = true;
    }
    m_bModal = true;
    m_bEndModal = false;
    m_nResult = -1;

    HWND hWnd = CreateFromTemplate(hOwner);
    if (hWnd) {
        if (!m_bEndModal) {                // OnInitDialog may already have ended it
            CentreOverOwner(hWnd, hOwner); // with the size OnInitDialog gave it
            ShowWindow(hWnd, SW_SHOW);
        }
        MSG msg;
        while (!m_bEndModal && m_hWnd) {
            BOOL bGot = GetMessageW(&msg, nullptr, 0, 0);
            if (bGot == 0) { // WM_QUIT: end the dialog and leave the quit to the outer loop
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (bGot == -1) {
                break;
            }
            PumpMessage(msg);
        }
    }

    // The owner is enabled before the dialog goes, so that the activation returns to it.
    if (bEnableOwner && IsWindow(hOwner)) {
        EnableWindow(hOwner, TRUE);
    }
    if (m_hWnd) {
        if (hOwner && GetActiveWindow() == m_hWnd) {
            SetActiveWindow(hOwner);
        }
        DestroyWindow();
    }
    GiveForegroundBack(hWndBefore);
    m_bModal = false;
    return m_nResult;
}

void CDialog::EndDialog(int nResult) {
    if (m_bModal) {
        m_nResult = nResult;
        m_bEndModal = true;
        if (m_hWnd) {
            PostMessageW(m_hWnd, WM_NULL, 0, 0); // wakes the modal loop up
        }
    } else {
        DestroyWindow();
    }
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (!m_hWnd) {
        return FALSE;
    }
    // Keyboard and mouse input only: IsDialogMessage eats other messages for the dialog.
    bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                  (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!bInput) {
        return FALSE;
    }
    if (pMsg->hwnd != m_hWnd && !IsChild(m_hWnd, pMsg->hwnd)) {
        return FALSE;
    }
    return IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(UINT nId) {
    switch (nId) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

LRESULT CDialog::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_INITDIALOG) {
        return OnInitDialog();
    }
    return CWnd::WindowProc(nMsg, wParam, lParam);
}
