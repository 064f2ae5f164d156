#pragma once
// CListCtrl: plain calls on a list-view control (SysListView32) that someone else owns. It only
// holds the handle; copy it freely. Rows and columns are 0-based; -1 means "none".

#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>
#include <vector>

// One column of a list: its title, its alignment (LVCFMT_LEFT, LVCFMT_RIGHT...) and its width in
// pixels at 96 DPI. A list's columns are one table of these, scaled for the DPI as they go in.
struct LIST_COLUMN {
    const wchar_t* pszTitle;
    int nFormat;
    int nWidth;
};

class CListCtrl {
public:
    CListCtrl() = default;
    explicit CListCtrl(HWND hWnd) : m_hWnd(hWnd) {}
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Columns. InsertColumns adds the table's columns as columns 0, 1..., each width scaled from
    // 96 DPI to nDpi; false when one of them could not be added.
    bool InsertColumns(std::span<const LIST_COLUMN> arrColumns, UINT nDpi);
    int GetColumnCount() const;
    // Every column's width, as it is now, taken from nFromDpi to nToDpi (the window moved to a
    // monitor of another DPI): the columns keep the share of the list that they had.
    void ScaleColumnWidths(UINT nFromDpi, UINT nToDpi);
    // Gives column nColumn the width that the other columns leave in the list's client area
    // (with room for a vertical scroll bar that rows added later may bring), nMinWidth at least.
    void FillWithColumn(int nColumn, int nMinWidth);

    // Rows. InsertItem returns the new row's index or -1; nItem past the end appends. lData is
    // the row's item data, 0 unless given.
    int InsertItem(int nItem, const wchar_t* pszText, LPARAM lData = 0);
    bool DeleteItem(int nItem);
    bool DeleteAllItems();
    int GetItemCount() const;
    // The number of rows of a list whose rows its parent draws (LVS_OWNERDATA): the list asks
    // for each cell as it draws it (LVN_GETDISPINFO). nFlags: LVSICF_NOSCROLL,
    // LVSICF_NOINVALIDATEALL.
    bool SetItemCount(int nCount, DWORD nFlags = 0);
    // The row's item data; 0 when the row does not exist.
    LPARAM GetItemData(int nItem) const;
    // The rectangle of a row (nCode LVIR_BOUNDS: the whole row; LVIR_LABEL...) in the list's
    // client coordinates; false when the row does not exist.
    bool GetItemRect(int nItem, RECT& rc, int nCode = LVIR_BOUNDS) const;
    // Has the rows nFirst to nLast drawn again (their cells asked again).
    bool RedrawItems(int nFirst, int nLast);

    // Cells. nSubItem 0 is the row's main cell.
    bool SetItemText(int nItem, int nSubItem, const wchar_t* pszText);
    std::wstring GetItemText(int nItem, int nSubItem) const;

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
    // The list does not take ownership only when it has LVS_SHAREIMAGELISTS; without that style
    // it destroys the image list with itself.
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nType = LVSIL_SMALL);

private:
    HWND m_hWnd = nullptr;
};
