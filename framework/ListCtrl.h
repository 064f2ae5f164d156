#pragma once
// CListCtrl: plain calls on a list-view control (SysListView32) that someone else owns. It only
// holds the handle; copy it freely. Rows and columns are 0-based; -1 means "none".

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

class CListCtrl {
public:
    CListCtrl() = default;
    explicit CListCtrl(HWND hWnd) : m_hWnd(hWnd) {}
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Columns. nFormat: LVCFMT_LEFT, LVCFMT_RIGHT... Returns the new column's index or -1.
    int InsertColumn(int nCol, const wchar_t* pszHeading, int nFormat, int nWidth);
    int GetColumnCount() const;

    // Rows. InsertItem returns the new row's index or -1.
    int InsertItem(int nItem, const wchar_t* pszText, int nImage = -1);
    bool DeleteItem(int nItem);
    bool DeleteAllItems();
    int GetItemCount() const;

    // Cells. nSubItem 0 is the row's main cell. nImage -1 leaves the image alone.
    bool SetItemText(int nItem, int nSubItem, const wchar_t* pszText);
    bool SetItem(int nItem, int nSubItem, const wchar_t* pszText, int nImage);
    std::wstring GetItemText(int nItem, int nSubItem) const;
    int GetItemImage(int nItem, int nSubItem) const; // -1 when it cannot be read

    // Selection.
    int GetSelectedCount() const;
    int GetSelectionMark() const;
    int SetSelectionMark(int nItem); // returns the previous mark
    // Every selected row, ascending (the list's own enumeration from the top).
    std::vector<int> GetSelectedItems() const;
    // Sets the bits of nMask in the row's state to those of nState (LVIS_SELECTED,
    // LVIS_FOCUSED...). nItem -1 means every row.
    bool SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    bool EnsureVisible(int nItem, bool bPartialOk = false);

    // The row and column at a point in the list's client coordinates: returns the row (-1 for
    // none) and stores the column in *pnSubItem when given.
    int SubItemHitTest(POINT ptClient, int* pnSubItem = nullptr) const;

    DWORD SetExtendedStyle(DWORD dwExStyle); // returns the previous extended style
    DWORD GetExtendedStyle() const;
    // The list does not take ownership only when it has LVS_SHAREIMAGELISTS; without that style
    // it destroys the image list with itself.
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nType = LVSIL_SMALL);
    HIMAGELIST GetImageList(int nType = LVSIL_SMALL) const;

private:
    HWND m_hWnd = nullptr;
};
