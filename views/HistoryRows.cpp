#include "HistoryRows.h"

#include <algorithm>
#include <climits>

#include "framework/ListCtrl.h"
#include "ListRowText.h"

void CHistoryRows::Refresh(HistoryHint oHint) {
    if (m_hList == nullptr) {
        return;
    }
    CListCtrl list(m_hList);
    const int nRows = list.GetItemCount();
    std::vector<const CLIP_ITEM*> arrItems = m_rDoc.GetItems();
    const int nCount = static_cast<int>(arrItems.size());
    const int32_t nEntry = oHint.GetIndex();
    if (!oHint.IsWholeList() && nEntry < nCount && nRows == nCount && arrItems == m_arrShown) {
        list.RedrawItems(nEntry, nEntry);
        return;
    }
    const int nShown = static_cast<int>(m_arrShown.size());
    const bool bNewHead = nCount >= 1 && nCount - 1 <= nShown && nRows == nShown &&
                          std::equal(arrItems.begin() + 1, arrItems.end(), m_arrShown.begin());
    m_arrShown = std::move(arrItems);
    if (bNewHead) {
        // The common case, a copy. The rows hold no texts, so only their number changes: one
        // more at the end (none when the oldest entry was trimmed), and every shown cell is asked
        // again. No row stays selected: the rows selected before stand for other entries now.
        // Nothing here passes over every row.
        AppendRows(nCount - nRows);
        for (int nRow = nRows - 1; nRow >= nCount; --nRow) {
            list.DeleteItem(nRow);
        }
        if (list.GetSelectedCount() > 0) {
            list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        }
        list.SetSelectionMark(-1);
    } else if (nRows == nCount) {
        // The cells are asked again; the selection stays by row number.
        InvalidateRect(m_hList, nullptr, TRUE);
        return;
    } else {
        SendMessageW(m_hList, WM_SETREDRAW, FALSE, 0);
        list.DeleteAllItems();
        AppendRows(nCount);
        SendMessageW(m_hList, WM_SETREDRAW, TRUE, 0);
    }
    InvalidateRect(m_hList, nullptr, TRUE);
}

void CHistoryRows::AppendRows(int nCount) {
    const int nColumns =
        std::max({m_columns.nImage, m_columns.nNumber, m_columns.nText, m_columns.nCreated});
    CListCtrl list(m_hList);
    for (int i = 0; i < nCount; ++i) {
        const int nRow = list.InsertItem(INT_MAX, L""); // at the end
        for (int nColumn = 1; nColumn <= nColumns; ++nColumn) {
            list.SetCallbackCell(nRow, nColumn, nColumn == m_columns.nImage);
        }
    }
}

bool CHistoryRows::OnNotify(NMHDR* pnm, LRESULT* pResult) {
    if (pnm == nullptr || pnm->hwndFrom != m_hList || pnm->code != LVN_GETDISPINFOW) {
        return false;
    }
    *pResult = 0;
    FillCell(reinterpret_cast<NMLVDISPINFOW*>(pnm)->item);
    return true;
}

void CHistoryRows::FillCell(LVITEMW& rItem) {
    // Asked of the document itself: between a change and its refresh the rows may stand for
    // entries that are gone.
    const CLIP_ITEM* pItem = m_rDoc.FindItem(rItem.iItem);
    const LIST_ROW_TEXT row = pItem ? MakeListRowText(rItem.iItem, *pItem) : LIST_ROW_TEXT{};
    if ((rItem.mask & LVIF_TEXT) != 0 && rItem.pszText != nullptr && rItem.cchTextMax > 0) {
        const int nColumn = rItem.iSubItem;
        const wchar_t* pszCell = nColumn == m_columns.nNumber    ? row.strNumber.c_str()
                                 : nColumn == m_columns.nText    ? row.strText.c_str()
                                 : nColumn == m_columns.nCreated ? row.strCreated.c_str()
                                                                 : L"";
        lstrcpynW(rItem.pszText, pszCell, rItem.cchTextMax);
    }
    if ((rItem.mask & LVIF_IMAGE) != 0) {
        // The mark stands in the image column only. The other cells answer as if never asked, as
        // cells without an image of their own do, so the list keeps no room for one.
        rItem.iImage = rItem.iSubItem != m_columns.nImage ? I_IMAGECALLBACK
                       : row.bBookmark                    ? m_nBookmarkImage
                                                          : m_nPlainImage;
    }
}
