#pragma once
// The main window's history list: a report-style list control (the view fills the frame's
// client area) with one row per history entry, newest first, redrawn on every change of the
// document; and the item commands of the main window: its Edit menu, context menus,
// window-local shortcuts, double-click activation and the bookmark click on the "No" column,
// all carried out by the item commands shared with the small clip window. Typing in the list
// filters its rows (FilterField.h), with the field shown above the list while it holds text.

#include <windows.h>

#include <cstdint>

#include "FilterField.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "framework/Wnd.h"
#include "HistoryObserver.h"
#include "HistoryRows.h"
#include "history/KorvexDoc.h"
#include "ItemCommands.h"

class CKorvexListView : public CWnd, private IItemCommandWindow {
public:
    // The control identifier of the view inside its frame.
    static constexpr UINT VIEW_ID = 0xE900;

    // pFolded: the document's folded texts, which the find-by-typing searches (none: no filter).
    explicit CKorvexListView(CKorvexDoc& rDoc, CFoldedHistory* pFolded = nullptr);
    ~CKorvexListView() override;

    // Creates the list control and its find-by-typing field (hidden while empty) as children of
    // the frame and becomes an observer of the document.
    bool Create(HWND hWndParent);
    // Lays the field (while it holds text) and the list out in rc, the frame's client area.
    void Layout(const RECT& rc);
    // A queued message for the field, and the field's notifications; true when taken.
    bool PreTranslateFieldMessage(MSG* pMsg);
    bool OnFieldNotify(UINT nCode, HWND hCtrl) { return m_oField.OnCommandNotify(nCode, hCtrl); }
    // Esc: empties the field; false when it was empty (the window hides then).
    bool ClearFilter() { return m_oField.Clear(); }
    // Columns, images, shortcuts, then the rows. Called once after the frame and view exist.
    void OnInitialUpdate();
    // A change of the document: hint 0 for the whole list, n for the entry at index n - 1.
    void OnUpdate(HistoryHint oHint);
    // The window moved to a monitor of another DPI: columns and images follow.
    void OnDpiChanged(UINT nDpi);

    CKorvexDoc& GetDocument() const { return m_rDoc; }
    CListCtrl GetListCtrl() const { return CListCtrl(m_hWnd); }
    CItemCommands& GetItemCommands() { return m_oCommands; }

    // Window-local shortcuts and the context-menu keys.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;
    bool OnCommand(UINT nId) override;
    bool OnUpdateCommand(UINT nId, CCmdUI& ui) override;
    bool OnReflectedNotify(NMHDR* pnm, LRESULT* pResult) override;

private:
    // What the item commands need of the main window's list.
    HWND GetListHwnd() const override { return m_hWnd; }
    HWND GetCommandHwnd() const override { return m_hWnd; }
    void AfterActivate() override;
    void AfterAppend() override {}
    void SetModalChild(bool) override {}
    int32_t EntryOfRow(int nRow) const override { return m_oRows.EntryOfRow(nRow); }
    int RowOfEntry(int32_t nEntry) const override { return m_oRows.RowOfEntry(nEntry); }
    void OnFilterChanged();
    void CreateImages();

    CKorvexDoc& m_rDoc;
    CItemCommands m_oCommands;
    CImageList m_oImageList;
    int m_nPlainImage = -1;
    int m_nBookmarkImage = -1;
    UINT m_nDpi = 96;
    CHistoryRows m_oRows;
    CFilterField m_oField;
    CHistoryObserver m_oObserver;
};
