#include "HistoryRows.h"

#include <algorithm>

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
    if (!bNewHead && nRows == nCount) {
        // The cells are asked again; the selection stays by row number.
        InvalidateRect(m_hList, nullptr, TRUE);
        return;
    }
    // A copy (one more row, or as many when the oldest entry was trimmed) or another count: the
    // rows selected before stand for other entries now, so none stays selected. Only the count
    // changes; nothing here passes over every row.
    if (list.GetSelectedCount() > 0) {
        list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    list.SetSelectionMark(-1);
    list.SetItemCount(nCount, LVSICF_NOSCROLL);
    InvalidateRect(m_hList, nullptr, TRUE);
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
