#include "KorvexListView.h"

#include "ListRowText.h"
#include "framework/CmdUI.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/ModalState.h"
#include "history/DateTimeStamps.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdio>

namespace {

// Extended list style: grid lines, images in sub-items, full-row selection, info tips, label tips.
constexpr DWORD LIST_EXTENDED_STYLE = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES |
                                      LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP;

constexpr int COLUMN_NUMBER = 1;

// The date/time stamp commands: Edit menu and context menu ids, in the order of the patterns
// (ID_EDIT_DATE_9 does not follow ID_EDIT_DATE_8 directly).
struct DATE_TIME_COMMAND {
    UINT nEditId;
    UINT nContextId;
};
constexpr DATE_TIME_COMMAND DATE_TIME_COMMANDS[DATE_TIME_PATTERNS.size()] = {
    {ID_EDIT_DATE_1, ID_CONTEXT_DATE_1}, {ID_EDIT_DATE_2, ID_CONTEXT_DATE_2},
    {ID_EDIT_DATE_3, ID_CONTEXT_DATE_3}, {ID_EDIT_DATE_4, ID_CONTEXT_DATE_4},
    {ID_EDIT_DATE_5, ID_CONTEXT_DATE_5}, {ID_EDIT_DATE_6, ID_CONTEXT_DATE_6},
    {ID_EDIT_DATE_7, ID_CONTEXT_DATE_7}, {ID_EDIT_DATE_8, ID_CONTEXT_DATE_8},
    {ID_EDIT_DATE_9, ID_CONTEXT_DATE_9}, {ID_EDIT_DATE_10, ID_CONTEXT_DATE_10},
};

const char* FindDateTimePattern(UINT nId) {
    for (size_t i = 0; i < DATE_TIME_PATTERNS.size(); ++i) {
        if (DATE_TIME_COMMANDS[i].nEditId == nId || DATE_TIME_COMMANDS[i].nContextId == nId) {
            return DATE_TIME_PATTERNS[i];
        }
    }
    return nullptr;
}

bool IsContiguous(const std::vector<int32_t>& arrIndexes) {
    for (size_t i = 1; i < arrIndexes.size(); ++i) {
        if (arrIndexes[i] - arrIndexes[i - 1] != 1) {
            return false;
        }
    }
    return true;
}

} // namespace

CKorvexListView::CKorvexListView(CKorvexDoc& rDoc) : m_rDoc(rDoc) {
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
    if (m_oImageList.Create(17, 13, ILC_COLOR32 | ILC_MASK, 1, 1)) {
        m_nPlainImage = m_oImageList.AddBitmapResource(IDB_BLANK, RGB(0, 0, 0));
        m_nBookmarkImage = m_oImageList.AddBitmapResource(IDB_BOOKMARK, RGB(0, 0, 0));
        list.SetImageList(m_oImageList.GetSafeHandle(), LVSIL_SMALL);
    }
    list.SetExtendedStyle(LIST_EXTENDED_STYLE);
    if (list.GetColumnCount() == 0) {
        list.InsertColumn(0, L"", LVCFMT_LEFT, 0);
        list.InsertColumn(1, L"No", LVCFMT_RIGHT, 45);
        list.InsertColumn(2, L"Text", LVCFMT_LEFT, 300);
        list.InsertColumn(3, L"Created Time", LVCFMT_LEFT, 115);
    }
    RegisterShortcuts();
    OnUpdate(0);
}

void CKorvexListView::RegisterShortcuts() {
    using View = CKorvexListView;
    auto bind = [this](int nCtrl, int nShift, uint16_t nKey, void (View::*pfn)()) {
        m_oAccelerator.AddHotkeyFunction(nCtrl, 0, nShift, nKey, static_cast<HOTKEY_FUNCTION>(pfn));
    };
    bind(1, 0, 'A', &View::OnSelectAll);
    bind(1, 0, VK_F2, &View::OnBookmarkItem);
    bind(0, 0, VK_F2, &View::OnNextBookmark);
    bind(0, 1, VK_F2, &View::OnPrevBookmark);
    bind(1, 1, 'U', &View::OnUppercase);
    bind(1, 0, 'U', &View::OnLowercase);
    bind(1, 0, 'T', &View::OnTitle);
    bind(1, 0, 'O', &View::OnMakeObject);
    bind(1, 0, 'D', &View::OnConvertFromId);
    bind(1, 1, 'D', &View::OnConvertToId);
    bind(0, 0, VK_RETURN, &View::OnActivate);
    bind(1, 0, 'I', &View::OnInvertItems);
    bind(1, 1, 'I', &View::OnInvertAndActivateItems);
}

BOOL CKorvexListView::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN &&
        m_oAccelerator.CallFunction(this, static_cast<uint16_t>(pMsg->wParam))) {
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
        rItem.iImage = row.bBookmark ? m_nBookmarkImage : m_nPlainImage;
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
    switch (pnm->code) {
    case NM_CLICK:
        *pResult = 0;
        OnClickRow();
        return true;
    case NM_RCLICK:
        *pResult = 0;
        OnContextMenu();
        return true;
    case LVN_ITEMACTIVATE:
        *pResult = 0;
        OnActivate();
        return true;
    case LVN_GETDISPINFOW:
        *pResult = 0;
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(pnm)->item);
        return true;
    default:
        return false;
    }
}

void CKorvexListView::OnClickRow() {
    // A click on the "No" column, where the bookmark mark is, toggles the bookmark.
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(m_hWnd, &pt);
    int nSubItem = -1;
    const int nRow = GetListCtrl().SubItemHitTest(pt, &nSubItem);
    if (nRow >= 0 && nSubItem == COLUMN_NUMBER) {
        m_rDoc.ToggleBookmark(nRow);
    }
}

void CKorvexListView::OnContextMenu() {
    POINT pt{};
    GetCursorPos(&pt);
    const int nSelected = GetListCtrl().GetSelectedCount();
    const int nPopup = nSelected == 0   ? CONTEXT_POPUP_NOSELECTEDITEM
                       : nSelected == 1 ? CONTEXT_POPUP_ITEM
                                        : CONTEXT_POPUP_MULTIITEM;
    ShowPopupMenu(IDR_CONTEXTMENU, nPopup, pt, m_hWnd);
}

bool CKorvexListView::OnCommand(UINT nId) {
    if (const char* pszPattern = FindDateTimePattern(nId)) {
        m_rDoc.CopyDateTime(pszPattern);
        return true;
    }
    switch (nId) {
    case ID_EDIT_ACTIVATE:
    case ID_ITEM_ACTIVATE:
    case ID_MULTI_ACTIVATE:
        OnActivate();
        return true;
    case ID_EDIT_REVERT_FIRST:
    case ID_CONTEXT_REVERT_FIRST:
        OnRevertFirstItems();
        return true;
    case ID_EDIT_BOOKMARK:
    case ID_ITEM_BOOKMARK:
        OnBookmarkItem();
        return true;
    case ID_EDIT_NEXT_BOOKMARK:
    case ID_CONTEXT_NEXT_BOOKMARK:
        OnNextBookmark();
        return true;
    case ID_EDIT_PREV_BOOKMARK:
    case ID_CONTEXT_PREV_BOOKMARK:
        OnPrevBookmark();
        return true;
    case ID_EDIT_CLEAR_BOOKMARKS:
    case ID_CONTEXT_CLEAR_BOOKMARKS:
        OnClearBookmarks();
        return true;
    case ID_EDIT_INVERT:
    case ID_MULTI_INVERT:
        OnInvertItems();
        return true;
    case ID_EDIT_INVERT_ACTIVATE:
    case ID_MULTI_INVERT_ACTIVATE:
        OnInvertAndActivateItems();
        return true;
    case ID_EDIT_MAKE_OBJECT:
    case ID_ITEM_MAKE_OBJECT:
        OnMakeObject();
        return true;
    case ID_EDIT_FROM_ID:
    case ID_ITEM_FROM_ID:
    case ID_MULTI_FROM_ID:
        OnConvertFromId();
        return true;
    case ID_EDIT_TO_ID:
    case ID_ITEM_TO_ID:
    case ID_MULTI_TO_ID:
        OnConvertToId();
        return true;
    case ID_EDIT_LOWERCASE:
    case ID_ITEM_LOWERCASE:
    case ID_MULTI_LOWERCASE:
        OnLowercase();
        return true;
    case ID_EDIT_UPPERCASE:
    case ID_ITEM_UPPERCASE:
    case ID_MULTI_UPPERCASE:
        OnUppercase();
        return true;
    case ID_EDIT_TITLE:
    case ID_ITEM_TITLE:
    case ID_MULTI_TITLE:
        OnTitle();
        return true;
    default:
        return false;
    }
}

bool CKorvexListView::OnUpdateCommand(UINT nId, CCmdUI& ui) {
    if (FindDateTimePattern(nId) != nullptr) {
        ui.Enable(true);
        return true;
    }
    const int nSelected = GetListCtrl().GetSelectedCount();
    switch (nId) {
    case ID_EDIT_BOOKMARK:
    case ID_EDIT_MAKE_OBJECT:
        ui.Enable(nSelected == 1);
        return true;
    case ID_EDIT_ACTIVATE:
    case ID_EDIT_LOWERCASE:
    case ID_EDIT_UPPERCASE:
    case ID_EDIT_TITLE:
    case ID_EDIT_TO_ID:
    case ID_EDIT_FROM_ID:
        ui.Enable(nSelected >= 1);
        return true;
    case ID_EDIT_INVERT:
    case ID_EDIT_INVERT_ACTIVATE:
        ui.Enable(nSelected >= 2);
        return true;
    case ID_EDIT_NEXT_BOOKMARK:
    case ID_EDIT_PREV_BOOKMARK:
    case ID_EDIT_REVERT_FIRST:
    case ID_EDIT_CLEAR_BOOKMARKS:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}

int CKorvexListView::GetOneSelectedRow() const {
    CListCtrl list = GetListCtrl();
    if (list.GetSelectedCount() != 1) {
        return -1;
    }
    const int nMark = list.GetSelectionMark();
    if (nMark >= 0 && (list.GetItemState(nMark, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
        return nMark;
    }
    const std::vector<int> arrSelected = list.GetSelectedItems();
    return arrSelected.empty() ? -1 : arrSelected.front();
}

std::vector<int32_t> CKorvexListView::GetSelectedIndexes() const {
    const std::vector<int> arrSelected = GetListCtrl().GetSelectedItems();
    return std::vector<int32_t>(arrSelected.begin(), arrSelected.end());
}

int CKorvexListView::GetNavigationStart() const {
    const int nSelected = GetListCtrl().GetSelectedCount();
    if (nSelected == 0) {
        return -1;
    }
    return nSelected == 1 ? GetOneSelectedRow() : -2;
}

void CKorvexListView::ClearMarkRow() {
    CListCtrl list = GetListCtrl();
    const int nMark = list.GetSelectionMark();
    if (nMark >= 0) {
        list.SetItemState(nMark, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void CKorvexListView::SelectRow(int nRow) {
    CListCtrl list = GetListCtrl();
    list.EnsureVisible(nRow, false);
    list.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetSelectionMark(nRow);
}

void CKorvexListView::OnActivate() {
    const int nSelected = GetListCtrl().GetSelectedCount();
    if (nSelected == 0) {
        return;
    }
    if (nSelected == 1) {
        const int nRow = GetOneSelectedRow();
        if (nRow < 0) {
            return;
        }
        m_rDoc.ActivateItem(nRow);
    } else {
        m_rDoc.ActivateItems(GetSelectedIndexes());
    }
    ClearMarkRow();
}

void CKorvexListView::OnSelectAll() {
    GetListCtrl().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

void CKorvexListView::OnBookmarkItem() {
    const int nRow = GetOneSelectedRow();
    if (nRow >= 0) {
        m_rDoc.ToggleBookmark(nRow);
    }
}

void CKorvexListView::GoToBookmark(bool bNext) {
    const int nStart = GetNavigationStart();
    if (nStart < -1) {
        return;
    }
    const int32_t nFound =
        bNext ? m_rDoc.FindNextBookmark(nStart) : m_rDoc.FindPrevBookmark(nStart);
    if (nFound < 0) {
        return;
    }
    ClearMarkRow();
    SelectRow(nFound);
}

void CKorvexListView::OnNextBookmark() {
    GoToBookmark(true);
}

void CKorvexListView::OnPrevBookmark() {
    GoToBookmark(false);
}

void CKorvexListView::OnClearBookmarks() {
    // One box at a time: with one open, only a command posted by some program gets here.
    if (IsModalLoopActive()) {
        return;
    }
    if (KorvexMessageBox(m_hWnd, L"Are you sure you want to clear all bookmarks?",
                         MB_YESNO | MB_ICONQUESTION) == IDYES) {
        m_rDoc.ClearBookmarks();
    }
}

void CKorvexListView::OnRevertFirstItems() {
    // The second entry goes to the head (and to the clipboard): the first two change places.
    if (m_rDoc.GetItemCount() >= 2) {
        m_rDoc.ActivateItem(1);
    }
}

void CKorvexListView::OnInvertItems() {
    const std::vector<int32_t> arrIndexes = GetSelectedIndexes();
    if (arrIndexes.size() < 2) {
        return;
    }
    if (!IsContiguous(arrIndexes)) {
        if (!IsModalLoopActive()) { // one box at a time
            KorvexMessageBox(m_hWnd, L"You have to select contiguous items.",
                             MB_OK | MB_ICONINFORMATION);
        }
        return;
    }
    m_rDoc.InvertItems(arrIndexes);
}

void CKorvexListView::OnInvertAndActivateItems() {
    if (GetListCtrl().GetSelectedCount() < 2) {
        return;
    }
    OnInvertItems();
    OnActivate();
}

void CKorvexListView::OnMakeObject() {
    const int nRow = GetOneSelectedRow();
    if (nRow >= 0) {
        m_rDoc.MakeObject(nRow, 0);
    }
}

void CKorvexListView::OnConvertFromId() {
    const int nSelected = GetListCtrl().GetSelectedCount();
    if (nSelected == 1) {
        const int nRow = GetOneSelectedRow();
        if (nRow >= 0) {
            m_rDoc.ConvertFromId(nRow, 0);
        }
    } else if (nSelected > 1) {
        m_rDoc.ConvertItemsFromId(GetSelectedIndexes());
    }
}

void CKorvexListView::OnConvertToId() {
    const int nSelected = GetListCtrl().GetSelectedCount();
    if (nSelected == 1) {
        const int nRow = GetOneSelectedRow();
        if (nRow >= 0) {
            m_rDoc.ConvertToId(nRow, 0);
        }
    } else if (nSelected > 1) {
        m_rDoc.ConvertItemsToId(GetSelectedIndexes());
    }
}

void CKorvexListView::ChangeCase(int32_t nMode) {
    const int nSelected = GetListCtrl().GetSelectedCount();
    if (nSelected == 1) {
        const int nRow = GetOneSelectedRow();
        if (nRow >= 0) {
            m_rDoc.ChangeCase(nRow, nMode, 0);
        }
    } else if (nSelected > 1) {
        m_rDoc.ChangeItemsCase(GetSelectedIndexes(), nMode);
    }
}

void CKorvexListView::OnLowercase() {
    ChangeCase(kCaseLower);
}

void CKorvexListView::OnUppercase() {
    ChangeCase(kCaseUpper);
}

void CKorvexListView::OnTitle() {
    ChangeCase(kCaseTitle);
}
