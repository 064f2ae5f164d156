#pragma once
// The bookkeeping of the program's open modal dialogs and message boxes, so that work which must
// not run under an open dialog (destroying the main window) can wait for it to close.

#include <windows.h>

// The number of modal dialogs (CDialog::DoModal), message boxes (KorvexMessageBox) and other
// modal loops (a context menu that tracks) of the program that are open right now.
int GetModalDepth();
inline bool IsModalLoopActive() {
    return GetModalDepth() > 0;
}

// Counts one open modal dialog or box for its lifetime (DoModal and KorvexMessageBox use it;
// use it around any other modal call of the system).
class CModalScope {
public:
    CModalScope();
    ~CModalScope();
    CModalScope(const CModalScope&) = delete;
    CModalScope& operator=(const CModalScope&) = delete;
};

// Posts nMsg to hWnd once no modal dialog or box is open: at once when none is open, otherwise
// when the last one closes (a message that waits already is not queued twice). For work that
// must not run under an open dialog, such as destroying the main window: the handler is called
// again from the outer loop and may check IsModalLoopActive() again.
void PostWhenModalEnds(HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);
