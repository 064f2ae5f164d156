#include "KorvexListView.h"

#include "framework/Dpi.h"
#include "res/resource.h"

namespace {

// Extended list style: grid lines, images in sub-items, full-row selection, info tips, label tips.
constexpr DWORD LIST_EXTENDED_STYLE = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES |
                                      LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP;

// The "No" column: the entry's number and its bookmark image.
constexpr int COLUMN_NUMBER = 1;
constexpr HISTORY_ROW_COLUMNS ROW_COLUMNS{COLUMN_NUMBER, COLUMN_NUMBER, 2, 3};
// The "Text" column takes the width the others leave, this much at least (at 96 DPI).
constexpr int MIN_TEXT_WIDTH = 60;
constexpr LIST_COLUMN LIST_COLUMNS[] = {
    {L"", LVCFMT_LEFT, 0},
    {L"No", LVCFMT_RIGHT, 45},
    {L"Text", LVCFMT_LEFT, 300},
    {L"Created Time", LVCFMT_LEFT, 115},
};

} // namespace

CKorvexListView::CKorvexListView(CKorvexDoc& rDoc, CFoldedHistory* pFolded)
    : m_rDoc(rDoc), m_oCommands(rDoc, *this, ItemCommandIds::EditAndContext),
      m_oRows(rDoc, ROW_COLUMNS, pFolded) {
    m_oObserver.SetHandler([this](HistoryHint oHint) { OnUpdate(oHint); });
}

CKorvexListView::~CKorvexListView() {
    m_oObserver.Disconnect();
}

bool CKorvexListView::Create(HWND hWndParent) {
    if (!CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                  hWndParent, VIEW_ID)) {
        return false;
    }
    m_oRows.SetList(m_hWnd);
    m_oObserver.Connect(m_rDoc);
    const HWND hField = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0, hWndParent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_MAIN_FILTER)), nullptr, nullptr);
    if (hField != nullptr) {
        SendMessageW(hField, WM_SETFONT, SendMessageW(m_hWnd, WM_GETFONT, 0, 0), FALSE);
        m_oField.Attach(hField, m_hWnd, [this] { OnFilterChanged(); });
    }
    return true;
}

void CKorvexListView::Layout(const RECT& rc) {
    const bool bField = m_oField.HasText();
    const int nField = bField ? m_oField.GetHeight() : 0;
    if (const HWND hField = m_oField.GetSafeHwnd(); hField != nullptr) {
        if (bField) {
            SetWindowPos(hField, nullptr, rc.left, rc.top, rc.right - rc.left, nField,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ShowWindow(hField, bField ? SW_SHOW : SW_HIDE);
    }
    SetWindowPos(m_hWnd, nullptr, rc.left, rc.top + nField, rc.right - rc.left,
                 rc.bottom - rc.top - nField, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CKorvexListView::OnFilterChanged() {
    m_oRows.SetFilterText(m_oField.GetText());
    // While the field holds the caret the list's selection must still show: it is what Enter
    // and the item commands act on.
    const LONG_PTR nStyle = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    const LONG_PTR nWanted = m_oField.HasText()
                                 ? (nStyle | LVS_SHOWSELALWAYS)
                                 : (nStyle & ~static_cast<LONG_PTR>(LVS_SHOWSELALWAYS));
    if (nWanted != nStyle) {
        SetWindowLongPtrW(m_hWnd, GWL_STYLE, nWanted);
    }
    const bool bFocusInField = GetFocus() == m_oField.GetSafeHwnd();
    RECT rc{};
    GetClientRect(GetParent(m_hWnd), &rc);
    Layout(rc);
    if (!m_oField.HasText() && bFocusInField) {
        SetFocus(m_hWnd);
    }
}

bool CKorvexListView::PreTranslateFieldMessage(MSG* pMsg) {
    if (pMsg->hwnd != m_oField.GetSafeHwnd()) {
        return false;
    }
    // In the field the item commands' shortcuts still act on the rows (Enter, Del at the end
    // of the text, the case keys...).
    return m_oField.PreTranslateMessage(pMsg) || m_oCommands.PreTranslateMessage(pMsg);
}

bool CKorvexListView::PreCreateWindow(CREATESTRUCTW& cs) {
    // Report style with several rows selectable; the selection is hidden while the list lacks
    // the focus. The view keeps its image list itself, so the control must not destroy it.
    cs.style |= LVS_REPORT | LVS_OWNERDATA | LVS_SHAREIMAGELISTS;
    cs.style &= ~static_cast<DWORD>(LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    return true;
}

void CKorvexListView::OnDestroy() {
    m_oObserver.Disconnect();
    Default();
}

void CKorvexListView::OnInitialUpdate() {
    CListCtrl list = GetListCtrl();
    m_nDpi = GetWindowDpi(m_hWnd);
    CreateImages();
    list.SetExtendedStyle(LIST_EXTENDED_STYLE);
    if (list.GetColumnCount() == 0) {
        list.InsertColumns(LIST_COLUMNS, m_nDpi);
        list.FillWithColumn(ROW_COLUMNS.nText, ScaleForDpi(MIN_TEXT_WIDTH, m_nDpi));
    }
    m_oCommands.RegisterShortcuts();
    OnUpdate(HistoryHint::WholeList());
}

void CKorvexListView::OnSize(UINT nType, int, int) {
    Default();
    if (nType != SIZE_MINIMIZED && GetListCtrl().GetColumnCount() > 0) {
        GetListCtrl().FillWithColumn(ROW_COLUMNS.nText, ScaleForDpi(MIN_TEXT_WIDTH, m_nDpi));
    }
}

void CKorvexListView::CreateImages() {
    // The 17 by 13 pictures, at the size they have at 96 DPI on this monitor.
    if (m_oImageList.Create(ScaleForDpi(17, m_nDpi), ScaleForDpi(13, m_nDpi),
                            ILC_COLOR32 | ILC_MASK, 1, 1)) {
        m_nPlainImage = m_oImageList.AddBitmapResource(IDB_BLANK, RGB(0, 0, 0));
        m_nBookmarkImage = m_oImageList.AddBitmapResource(IDB_BOOKMARK, RGB(0, 0, 0));
        m_oRows.SetImages(m_nPlainImage, m_nBookmarkImage);
    }
    GetListCtrl().SetImageList(m_oImageList.GetSafeHandle(), LVSIL_SMALL);
}

void CKorvexListView::OnDpiChanged(UINT nDpi) {
    if (m_hWnd == nullptr || nDpi == 0 || nDpi == m_nDpi) {
        return;
    }
    // Columns keep the share of the window the user gave them.
    GetListCtrl().ScaleColumnWidths(m_nDpi, nDpi);
    m_nDpi = nDpi;
    GetListCtrl().FillWithColumn(ROW_COLUMNS.nText, ScaleForDpi(MIN_TEXT_WIDTH, m_nDpi));
    CreateImages();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CKorvexListView::PreTranslateMessage(MSG* pMsg) {
    if (m_oField.PreTranslateMessage(pMsg) || m_oCommands.PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CKorvexListView::OnUpdate(HistoryHint oHint) {
    m_oRows.Refresh(oHint);
}

bool CKorvexListView::OnReflectedNotify(NMHDR* pnm, LRESULT* pResult) {
    return m_oRows.OnNotify(pnm, pResult) || m_oCommands.OnListNotify(pnm, pResult, COLUMN_NUMBER);
}

bool CKorvexListView::OnCommand(UINT nId) {
    return m_oCommands.OnCommand(nId);
}

bool CKorvexListView::OnUpdateCommand(UINT nId, CCmdUI& ui) {
    return m_oCommands.OnUpdateCommand(nId, ui);
}

void CKorvexListView::AfterActivate() {
    m_oCommands.ClearMarkRow();
}
