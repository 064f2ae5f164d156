#include "framework/ListCtrl.h"

#include "framework/Dpi.h"

bool CListCtrl::InsertColumns(std::span<const LIST_COLUMN> arrColumns, UINT nDpi) {
    bool bInserted = true;
    int nCol = 0;
    for (const LIST_COLUMN& column : arrColumns) {
        LVCOLUMNW col{};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = column.nFormat;
        col.cx = ScaleForDpi(column.nWidth, nDpi);
        col.pszText = const_cast<wchar_t*>(column.pszTitle);
        col.iSubItem = nCol;
        if (SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, nCol, reinterpret_cast<LPARAM>(&col)) != nCol) {
            bInserted = false;
        }
        ++nCol;
    }
    return bInserted;
}

int CListCtrl::GetColumnCount() const {
    HWND hHeader = reinterpret_cast<HWND>(SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0));
    return hHeader ? static_cast<int>(SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void CListCtrl::ScaleColumnWidths(UINT nFromDpi, UINT nToDpi) {
    if (nFromDpi == 0 || nToDpi == nFromDpi) {
        return;
    }
    const int nColumns = GetColumnCount();
    for (int i = 0; i < nColumns; ++i) {
        const int nWidth = static_cast<int>(SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, i, 0));
        SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, i,
                     MulDiv(nWidth, static_cast<int>(nToDpi), static_cast<int>(nFromDpi)));
    }
}

void CListCtrl::FillWithColumn(int nColumn, int nMinWidth) {
    RECT rc{};
    if (m_hWnd == nullptr || !GetClientRect(m_hWnd, &rc)) {
        return;
    }
    int nWidth = rc.right - rc.left;
    if ((GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VSCROLL) == 0) {
        nWidth -= GetSystemMetrics(SM_CXVSCROLL);
    }
    const int nColumns = GetColumnCount();
    for (int i = 0; i < nColumns; ++i) {
        if (i != nColumn) {
            nWidth -= static_cast<int>(SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, i, 0));
        }
    }
    SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, nColumn, nWidth > nMinWidth ? nWidth : nMinWidth);
}

int CListCtrl::InsertItem(int nItem, const wchar_t* pszText, LPARAM lData) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = nItem;
    item.pszText = const_cast<wchar_t*>(pszText ? pszText : L"");
    item.lParam = lData;
    return static_cast<int>(
        SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::DeleteItem(int nItem) {
    return SendMessageW(m_hWnd, LVM_DELETEITEM, nItem, 0) != 0;
}

bool CListCtrl::DeleteAllItems() {
    return SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0) != 0;
}

int CListCtrl::GetItemCount() const {
    return static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

bool CListCtrl::SetItemCount(int nCount, DWORD nFlags) {
    return SendMessageW(m_hWnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(nCount), nFlags) != 0;
}

LPARAM CListCtrl::GetItemData(int nItem) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    if (nItem < 0 || !SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
        return 0;
    }
    return item.lParam;
}

bool CListCtrl::GetItemRect(int nItem, RECT& rc, int nCode) const {
    RECT rcItem{};
    rcItem.left = nCode;
    if (nItem < 0 || !SendMessageW(m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(nItem),
                                   reinterpret_cast<LPARAM>(&rcItem))) {
        return false;
    }
    rc = rcItem;
    return true;
}

bool CListCtrl::RedrawItems(int nFirst, int nLast) {
    return SendMessageW(m_hWnd, LVM_REDRAWITEMS, static_cast<WPARAM>(nFirst),
                        static_cast<LPARAM>(nLast)) != 0;
}

bool CListCtrl::SetItemText(int nItem, int nSubItem, const wchar_t* pszText) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = const_cast<wchar_t*>(pszText ? pszText : L"");
    return SendMessageW(m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::wstring CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // Grows the buffer until the text fits (the list answers with the length it copied).
    std::wstring strText;
    for (int nSize = 256;; nSize *= 4) {
        strText.assign(static_cast<size_t>(nSize), L'\0');
        LVITEMW item{};
        item.iSubItem = nSubItem;
        item.pszText = strText.data();
        item.cchTextMax = nSize;
        int nLen = static_cast<int>(
            SendMessageW(m_hWnd, LVM_GETITEMTEXTW, nItem, reinterpret_cast<LPARAM>(&item)));
        if (nLen < nSize - 1 || nSize >= (1 << 24)) {
            strText.resize(static_cast<size_t>(nLen < 0 ? 0 : nLen));
            return strText;
        }
    }
}

int CListCtrl::GetSelectedCount() const {
    return static_cast<int>(SendMessageW(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0));
}

int CListCtrl::GetSelectionMark() const {
    return static_cast<int>(SendMessageW(m_hWnd, LVM_GETSELECTIONMARK, 0, 0));
}

int CListCtrl::SetSelectionMark(int nItem) {
    return static_cast<int>(SendMessageW(m_hWnd, LVM_SETSELECTIONMARK, 0, nItem));
}

std::vector<int> CListCtrl::GetSelectedItems() const {
    std::vector<int> vecItems;
    int nCount = GetItemCount();
    int nItem = -1;
    for (;;) {
        nItem = static_cast<int>(
            SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), LVNI_SELECTED));
        // The guard keeps a misbehaving enumeration from looping for ever.
        if (nItem < 0 || static_cast<int>(vecItems.size()) >= nCount ||
            (!vecItems.empty() && nItem <= vecItems.back())) {
            break;
        }
        vecItems.push_back(nItem);
    }
    return vecItems;
}

bool CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMW item{};
    item.stateMask = nMask;
    item.state = nState;
    return SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(nItem),
                        reinterpret_cast<LPARAM>(&item)) != 0;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    return static_cast<UINT>(SendMessageW(m_hWnd, LVM_GETITEMSTATE, nItem, nMask));
}

bool CListCtrl::EnsureVisible(int nItem, bool bPartialOk) {
    return SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, nItem, bPartialOk ? TRUE : FALSE) != 0;
}

int CListCtrl::SubItemHitTest(POINT ptClient, int* pnSubItem) const {
    LVHITTESTINFO info{};
    info.pt = ptClient;
    int nItem = static_cast<int>(
        SendMessageW(m_hWnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (nItem < 0) {
        info.iSubItem = -1;
    }
    if (pnSubItem) {
        *pnSubItem = info.iSubItem;
    }
    return nItem < 0 ? -1 : nItem;
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwExStyle) {
    return static_cast<DWORD>(
        SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwExStyle)));
}

HIMAGELIST CListCtrl::SetImageList(HIMAGELIST hImageList, int nType) {
    return reinterpret_cast<HIMAGELIST>(
        SendMessageW(m_hWnd, LVM_SETIMAGELIST, nType, reinterpret_cast<LPARAM>(hImageList)));
}
