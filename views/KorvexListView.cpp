#include "KorvexListView.h"

#include "ListRowText.h"
#include "framework/Dpi.h"
#include "res/resource.h"

#include <algorithm>

namespace {

// Extended list style: grid lines, images in sub-items, full-row selection, info tips, label tips.
constexpr DWORD LIST_EXTENDED_STYLE = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES |
                                      LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP;

// The "No" column: the entry's number and its bookmark image.
constexpr int COLUMN_NUMBER = 1;

} // namespace

CKorvexListView::CKorvexListView(CKorvexDoc& rDoc)
    : m_rDoc(rDoc), m_oCommands(rDoc, *this, ItemCommandIds::EditAndContext) {
    m_oObserver.SetHandler([this](int32_t nHint) { OnUpdate(nHint); });
}

CKorvexListView::~CKorvexListView() {
    m_oObserver.Disconnect();
}

bool CKorvexListView::Create(HWND hWndParent) {
    if (!CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                  hWndParent, VIEW_ID)) {
        return false;
    }
    m_oObserver.Connect(m_rDoc);
    return true;
}

bool CKorvexListView::PreCreateWindow(CREATESTRUCTW& cs) {
    // Report style with several rows selectable; the selection is hidden while the list lacks
    // the focus. The view keeps its image list itself, so the control must not destroy it.
    cs.style |= LVS_REPORT | LVS_SHAREIMAGELISTS;
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
        list.InsertColumn(0, L"", LVCFMT_LEFT, 0);
        list.InsertColumn(1, L"No", LVCFMT_RIGHT, ScaleForDpi(45, m_nDpi));
        list.InsertColumn(2, L"Text", LVCFMT_LEFT, ScaleForDpi(300, m_nDpi));
        list.InsertColumn(3, L"Created Time", LVCFMT_LEFT, ScaleForDpi(115, m_nDpi));
    }
    m_oCommands.RegisterShortcuts();
    OnUpdate(0);
}

void CKorvexListView::CreateImages() {
    // The 17 by 13 pictures, at the size they have at 96 DPI on this monitor.
    if (m_oImageList.Create(ScaleForDpi(17, m_nDpi), ScaleForDpi(13, m_nDpi),
                            ILC_COLOR32 | ILC_MASK, 1, 1)) {
        m_nPlainImage = m_oImageList.AddBitmapResource(IDB_BLANK, RGB(0, 0, 0));
        m_nBookmarkImage = m_oImageList.AddBitmapResource(IDB_BOOKMARK, RGB(0, 0, 0));
    }
    GetListCtrl().SetImageList(m_oImageList.GetSafeHandle(), LVSIL_SMALL);
}

void CKorvexListView::OnDpiChanged(UINT nDpi) {
    if (m_hWnd == nullptr || nDpi == 0 || nDpi == m_nDpi) {
        return;
    }
    // Columns keep the share of the window the user gave them.
    const int nColumns = GetListCtrl().GetColumnCount();
    for (int i = 0; i < nColumns; ++i) {
        const int nWidth = ListView_GetColumnWidth(m_hWnd, i);
        ListView_SetColumnWidth(m_hWnd, i,
                                MulDiv(nWidth, static_cast<int>(nDpi), static_cast<int>(m_nDpi)));
    }
    m_nDpi = nDpi;
    CreateImages();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CKorvexListView::PreTranslateMessage(MSG* pMsg) {
    if (m_oCommands.PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CKorvexListView::InsertRows(int nFirst, int nCount) {
    for (int nRow = nFirst; nRow < nFirst + nCount; ++nRow) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = nRow;
        item.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int nColumn = 1; nColumn <= 3; ++nColumn) {
            item.mask = nColumn == COLUMN_NUMBER ? LVIF_TEXT | LVIF_IMAGE : LVIF_TEXT;
            item.iSubItem = nColumn;
            item.pszText = LPSTR_TEXTCALLBACKW;
            item.iImage = I_IMAGECALLBACK;
            SendMessageW(m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
}

void CKorvexListView::OnGetDispInfo(LVITEMW& rItem) {
    // Asked of the document itself: between a change and its notice the rows may stand for
    // entries that are gone.
    const CLIP_ITEM* pItem = m_rDoc.FindItem(rItem.iItem);
    const LIST_ROW_TEXT row = pItem ? MakeListRowText(rItem.iItem, *pItem) : LIST_ROW_TEXT{};
    if ((rItem.mask & LVIF_TEXT) != 0 && rItem.pszText != nullptr && rItem.cchTextMax > 0) {
        const std::wstring& strCell = rItem.iSubItem == COLUMN_NUMBER ? row.strNumber
                                      : rItem.iSubItem == 2           ? row.strText
                                                                      : row.strCreated;
        lstrcpynW(rItem.pszText, rItem.iSubItem >= 1 ? strCell.c_str() : L"", rItem.cchTextMax);
    }
    if ((rItem.mask & LVIF_IMAGE) != 0) {
        // The mark stands in the "No" cell only. The other cells answer as if never asked, as
        // cells without an image of their own do, so the list keeps no room for one.
        rItem.iImage = rItem.iSubItem != COLUMN_NUMBER ? I_IMAGECALLBACK
                       : row.bBookmark                 ? m_nBookmarkImage
                                                       : m_nPlainImage;
    }
}

void CKorvexListView::OnUpdate(int32_t nHint) {
    if (m_hWnd == nullptr) {
        return;
    }
    CListCtrl list = GetListCtrl();
    std::vector<const CLIP_ITEM*> arrItems = m_rDoc.GetItems();
    const int nCount = static_cast<int>(arrItems.size());
    const int nShown = static_cast<int>(m_arrShown.size());
    if (nHint >= 1 && arrItems == m_arrShown && list.GetItemCount() == nCount) {
        // One entry changed. A hint for a row that is gone (hints can arrive late, and any
        // process can post one) refreshes the whole list instead.
        const int nRow = nHint - 1;
        if (nRow < nCount) {
            SendMessageW(m_hWnd, LVM_REDRAWITEMS, nRow, nRow);
            return;
        }
    }
    const bool bNewHead = nCount >= 1 && nCount - 1 <= nShown && list.GetItemCount() == nShown &&
                          std::equal(arrItems.begin() + 1, arrItems.end(), m_arrShown.begin());
    m_arrShown = std::move(arrItems);
    if (list.GetItemCount() == nCount) {
        // Same number of rows: the cells are asked again, and the selection stays by row number.
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    }
    if (bNewHead) {
        // A new entry at the head (the common case: a copy), the oldest ones trimmed: one new
        // row, and no row left selected, as a rebuilt list would have it. Nothing here passes over
        // every row, so a copy costs the same however long the history is.
        InsertRows(0, 1);
        while (list.GetItemCount() > nCount) {
            list.DeleteItem(list.GetItemCount() - 1);
        }
        if (list.GetSelectedCount() > 0) {
            LVITEMW item{};
            item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(&item));
        }
        SendMessageW(m_hWnd, LVM_SETSELECTIONMARK, 0, -1);
    } else {
        SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
        list.DeleteAllItems();
        InsertRows(0, nCount);
        SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CKorvexListView::OnReflectedNotify(NMHDR* pnm, LRESULT* pResult) {
    if (pnm->code == LVN_GETDISPINFOW) {
        *pResult = 0;
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(pnm)->item);
        return true;
    }
    return m_oCommands.OnListNotify(pnm, pResult, COLUMN_NUMBER);
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
