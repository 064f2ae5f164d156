#pragma once
// The main window's history list: a report-style list control (the view fills the frame's
// client area) with one row per history entry, newest first, redrawn on every change of the
// document; and the item commands of the main window: its Edit menu, context menus,
// window-local shortcuts, double-click activation and the bookmark click on the "No" column.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "framework/Wnd.h"
#include "HistoryObserver.h"
#include "history/KorvexDoc.h"
#include "hotkeys/KeyboardAccelerator.h"

class CKorvexListView : public CWnd, public CShortcutTarget {
public:
    // The control identifier of the view inside its frame.
    static constexpr UINT VIEW_ID = 0xE900;

    explicit CKorvexListView(CKorvexDoc& rDoc);
    ~CKorvexListView() override;

    // Creates the list control as a child of the frame and becomes an observer of the document.
    bool Create(HWND hWndParent);
    // Columns, images, shortcuts, then the rows. Called once after the frame and view exist.
    void OnInitialUpdate();
    // A change of the document: hint 0 for the whole list, n for the entry at index n - 1.
    void OnUpdate(int32_t nHint);

    CKorvexDoc& GetDocument() const { return m_rDoc; }
    CListCtrl GetListCtrl() const { return CListCtrl(m_hWnd); }

    // Window-local shortcuts.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Item commands, each acting on the selection as it is when the command runs.
    void OnActivate();
    void OnSelectAll();
    void OnBookmarkItem();
    void OnNextBookmark();
    void OnPrevBookmark();
    void OnClearBookmarks();
    void OnRevertFirstItems();
    void OnInvertItems();
    void OnInvertAndActivateItems();
    void OnMakeObject();
    void OnConvertFromId();
    void OnConvertToId();
    void OnLowercase();
    void OnUppercase();
    void OnTitle();

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnDestroy() override;
    bool OnCommand(UINT nId) override;
    bool OnUpdateCommand(UINT nId, CCmdUI& ui) override;
    bool OnReflectedNotify(NMHDR* pnm, LRESULT* pResult) override;

private:
    // Rows hold no texts of their own: the list asks for the cells it shows (LVN_GETDISPINFO),
    // so a new entry costs one new row however long the history is.
    void InsertRows(int nFirst, int nCount);
    void OnGetDispInfo(LVITEMW& rItem);
    void RegisterShortcuts();
    void OnClickRow();
    void OnContextMenu();

    // The one row a one-row command acts on: the selection mark when it is a selected row,
    // otherwise the one selected row; -1 unless exactly one row is selected.
    int GetOneSelectedRow() const;
    std::vector<int32_t> GetSelectedIndexes() const;
    // Navigation start: -1 with nothing selected, the one row, or -2 with several (no command).
    int GetNavigationStart() const;
    // Go To Next / Previous Bookmark: select the bookmark found from the navigation start.
    void GoToBookmark(bool bNext);
    void ClearMarkRow();
    void SelectRow(int nRow);
    void ChangeCase(int32_t nMode);

    CKorvexDoc& m_rDoc;
    CKeyboardAccelerator m_oAccelerator;
    CImageList m_oImageList;
    int m_nPlainImage = -1;
    int m_nBookmarkImage = -1;
    CHistoryObserver m_oObserver;
    // The entries the rows stood for at the last update, row 0 first: compared, never read.
    std::vector<const CLIP_ITEM*> m_arrShown;
};
