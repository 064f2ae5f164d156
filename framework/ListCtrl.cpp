#include "framework/ListCtrl.h"

int CListCtrl::InsertColumn(int nCol, const wchar_t* pszHeading, int nFormat, int nWidth) {
    LVCOLUMNW col{};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = nFormat;
    col.cx = nWidth;
    col.pszText = const_cast<wchar_t*>(pszHeading);
    col.iSubItem = nCol;
    return static_cast<int>(
        SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, nCol, reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::GetColumnCount() const {
    HWND hHeader = reinterpret_cast<HWND>(SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0));
    return hHeader ? static_cast<int>(SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

namespace {

// A cell's text and, when nImage is 0 or more, its image.
LVITEMW MakeCell(int nItem, int nSubItem, const wchar_t* pszText, int nImage) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = const_cast<wchar_t*>(pszText ? pszText : L"");
    if (nImage >= 0) {
        item.mask |= LVIF_IMAGE;
        item.iImage = nImage;
    }
    return item;
}

} // namespace

int CListCtrl::InsertItem(int nItem, const wchar_t* pszText, int nImage) {
    LVITEMW item = MakeCell(nItem, 0, pszText, nImage);
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

bool CListCtrl::SetItemText(int nItem, int nSubItem, const wchar_t* pszText) {
    return SetItem(nItem, nSubItem, pszText, -1);
}

bool CListCtrl::SetItem(int nItem, int nSubItem, const wchar_t* pszText, int nImage) {
    LVITEMW item = MakeCell(nItem, nSubItem, pszText, nImage);
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

int CListCtrl::GetItemImage(int nItem, int nSubItem) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    if (!SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
        return -1;
    }
    return item.iImage;
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

DWORD CListCtrl::GetExtendedStyle() const {
    return static_cast<DWORD>(SendMessageW(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

HIMAGELIST CListCtrl::SetImageList(HIMAGELIST hImageList, int nType) {
    return reinterpret_cast<HIMAGELIST>(
        SendMessageW(m_hWnd, LVM_SETIMAGELIST, nType, reinterpret_cast<LPARAM>(hImageList)));
}

HIMAGELIST CListCtrl::GetImageList(int nType) const {
    return reinterpret_cast<HIMAGELIST>(SendMessageW(m_hWnd, LVM_GETIMAGELIST, nType, 0));
}
