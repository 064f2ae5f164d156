#pragma once
// The main window's history list: a report-style list control (the view fills the frame's
// client area) with one row per history entry, newest first, redrawn on every change of the
// document; and the item commands of the main window: its Edit menu, context menus,
// window-local shortcuts, double-click activation and the bookmark click on the "No" column,
// all carried out by the item commands shared with the small clip window.

#include <windows.h>

#include <cstdint>

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

    explicit CKorvexListView(CKorvexDoc& rDoc);
    ~CKorvexListView() override;

    // Creates the list control as a child of the frame and becomes an observer of the document.
    bool Create(HWND hWndParent);
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
    void CreateImages();

    CKorvexDoc& m_rDoc;
    CItemCommands m_oCommands;
    CImageList m_oImageList;
    int m_nPlainImage = -1;
    int m_nBookmarkImage = -1;
    UINT m_nDpi = 96;
    CHistoryRows m_oRows;
    CHistoryObserver m_oObserver;
};
