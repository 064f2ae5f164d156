#pragma once
// The find dialog: edits the history's search criteria (the text, "Match &case", "Match &whole
// word") in place and says which search to run. It shows the criteria as they are when it opens
// and writes the three controls back when it closes, however it closes (Find Next, Bookmark All,
// Esc, the close box), so they stay for F3, Shift+F3 and the next opening; it also stores its
// size under "FindWindow". It searches nothing itself: DoModal returns RESULT_FIND_NEXT,
// RESULT_BOOKMARK_ALL or IDCANCEL and the caller runs the search. Enter presses "&Find Next".

#include <windows.h>

#include "framework/Dialog.h"
#include "history/FindCriteria.h"

class CFindDlg : public CDialog {
public:
    static constexpr INT_PTR RESULT_FIND_NEXT = 1024;
    static constexpr INT_PTR RESULT_BOOKMARK_ALL = 1025;

    // pCriteria: the document's criteria, not owned; it outlives the dialog. hParent null lets
    // the dialog take the active window (the one that ran the command) as its owner.
    explicit CFindDlg(FIND_CRITERIA* pCriteria, HWND hParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT nId) override;
    void OnDestroy() override;

private:
    void StoreCriteria();
    void StoreSize();

    FIND_CRITERIA* m_pCriteria;
};
