#include "HistoryRows.h"

#include <algorithm>

#include "framework/Dpi.h"
#include "framework/ListCtrl.h"
#include "ListRowText.h"

namespace {

// Room left of a cell's text, as the list leaves it, at 96 DPI.
constexpr int CELL_TEXT_MARGIN = 6;

bool IsSelected(HWND hList, int nRow) {
    return (ListView_GetItemState(hList, nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

} // namespace

CHistoryRows::CHistoryRows(CKorvexDoc& rDoc, HISTORY_ROW_COLUMNS columns, CFoldedHistory* pFolded)
    : m_rDoc(rDoc), m_columns(columns),
      m_pFilter(pFolded ? std::make_unique<CHistoryFilter>(rDoc, *pFolded) : nullptr) {}

CHistoryRows::~CHistoryRows() {
    if (m_hMarkFont != nullptr) {
        DeleteObject(m_hMarkFont);
    }
}

void CHistoryRows::Refresh(HistoryHint oHint) {
    if (m_hList == nullptr) {
        return;
    }
    CListCtrl list(m_hList);
    const int nRows = list.GetItemCount();
    if (IsFiltering()) {
        // The entries selected and focused, as the rows stood for them, are selected again
        // where they stand now; a copy that matches comes in at the top.
        std::vector<const CLIP_ITEM*> arrBefore;
        for (int nRow = 0; nRow < nRows; ++nRow) {
            arrBefore.push_back(m_pFilter->GetRowEntry(nRow));
        }
        std::vector<const CLIP_ITEM*> arrSelected;
        for (const int nRow : list.GetSelectedItems()) {
            arrSelected.push_back(m_pFilter->GetRowEntry(nRow));
        }
        const CLIP_ITEM* pFocused =
            m_pFilter->GetRowEntry(ListView_GetNextItem(m_hList, -1, LVNI_FOCUSED));
        const CLIP_ITEM* pMark = m_pFilter->GetRowEntry(list.GetSelectionMark());
        m_pFilter->Refresh();
        const auto& arrRows = m_pFilter->GetRows();
        bool bSame = arrRows.size() == arrBefore.size();
        for (size_t nRow = 0; bSame && nRow < arrRows.size(); ++nRow) {
            bSame = m_pFilter->GetRowEntry(static_cast<int32_t>(nRow)) == arrBefore[nRow];
        }
        if (!bSame) {
            if (!arrSelected.empty()) {
                list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
            }
            list.SetItemCount(static_cast<int>(arrRows.size()), LVSICF_NOSCROLL);
            for (const CLIP_ITEM* pItem : arrSelected) {
                if (const int nRow = m_pFilter->FindRow(pItem); nRow >= 0) {
                    list.SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
                }
            }
            if (const int nRow = m_pFilter->FindRow(pFocused); pFocused && nRow >= 0) {
                list.SetItemState(nRow, LVIS_FOCUSED, LVIS_FOCUSED);
            }
            list.SetSelectionMark(pMark ? m_pFilter->FindRow(pMark) : -1);
        }
        InvalidateRect(m_hList, nullptr, TRUE);
        return;
    }
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

bool CHistoryRows::SetFilterText(const std::u16string& strText) {
    if (!m_pFilter || m_hList == nullptr || !m_pFilter->SetText(strText)) {
        return false;
    }
    int nCount = 0;
    if (IsFiltering()) {
        nCount = static_cast<int>(m_pFilter->GetRows().size());
    } else {
        m_arrShown = m_rDoc.GetItems();
        nCount = static_cast<int>(m_arrShown.size());
    }
    CListCtrl list(m_hList);
    list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetItemCount(nCount, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    SelectOnly(nCount > 0 ? 0 : -1);
    InvalidateRect(m_hList, nullptr, TRUE);
    return true;
}

void CHistoryRows::SelectOnly(int nRow) {
    CListCtrl list(m_hList);
    list.SetSelectionMark(nRow);
    if (nRow >= 0) {
        list.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.EnsureVisible(nRow);
    }
}

int32_t CHistoryRows::EntryOfRow(int nRow) const {
    if (!IsFiltering()) {
        return nRow;
    }
    const auto& arrRows = m_pFilter->GetRows();
    if (nRow < 0 || static_cast<size_t>(nRow) >= arrRows.size()) {
        return -1;
    }
    // The row's entry where it stands now: a change may not have reached the rows yet (the
    // small clip window hears of it late). Entries are compared, never read.
    const CLIP_ITEM* pEntry = m_pFilter->GetRowEntry(nRow);
    if (m_rDoc.FindItem(arrRows[static_cast<size_t>(nRow)]) == pEntry) {
        return arrRows[static_cast<size_t>(nRow)];
    }
    const std::vector<const CLIP_ITEM*> arrItems = m_rDoc.GetItems();
    const auto it = std::find(arrItems.begin(), arrItems.end(), pEntry);
    return it == arrItems.end() ? -1 : static_cast<int32_t>(it - arrItems.begin());
}

int CHistoryRows::RowOfEntry(int32_t nEntry) const {
    if (!IsFiltering()) {
        return nEntry;
    }
    const auto& arrRows = m_pFilter->GetRows();
    const auto it = std::lower_bound(arrRows.begin(), arrRows.end(), nEntry);
    return it != arrRows.end() && *it == nEntry ? static_cast<int>(it - arrRows.begin()) : -1;
}

bool CHistoryRows::OnNotify(NMHDR* pnm, LRESULT* pResult) {
    if (pnm == nullptr || pnm->hwndFrom != m_hList) {
        return false;
    }
    if (pnm->code == LVN_GETDISPINFOW) {
        *pResult = 0;
        FillCell(reinterpret_cast<NMLVDISPINFOW*>(pnm)->item);
        return true;
    }
    if (pnm->code == NM_CUSTOMDRAW) {
        *pResult = OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(pnm));
        return true;
    }
    return false;
}

void CHistoryRows::FillCell(LVITEMW& rItem) {
    // Asked of the document itself: between a change and its refresh the rows may stand for
    // entries that are gone.
    const int32_t nEntry = EntryOfRow(rItem.iItem);
    const CLIP_ITEM* pItem = m_rDoc.FindItem(nEntry);
    const LIST_ROW_TEXT row = pItem ? MakeListRowText(nEntry, *pItem) : LIST_ROW_TEXT{};
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

LRESULT CHistoryRows::OnCustomDraw(NMLVCUSTOMDRAW& rDraw) {
    if (!IsFiltering()) {
        return CDRF_DODEFAULT;
    }
    switch (rDraw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (rDraw.iSubItem == m_columns.nText) {
            DrawMarkedText(rDraw);
            return CDRF_SKIPDEFAULT;
        }
        // While the field holds the caret the list lacks the focus: its selection is still the
        // one Enter acts on, so it shows as selected, in every cell.
        if (IsSelected(m_hList, static_cast<int>(rDraw.nmcd.dwItemSpec))) {
            rDraw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
            rDraw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
            rDraw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
            return CDRF_NEWFONT;
        }
        return CDRF_DODEFAULT;
    case CDDS_POSTPAINT:
        if (m_pFilter->GetRows().empty()) {
            RECT rc{};
            GetClientRect(m_hList, &rc);
            if (const HWND hHeader = ListView_GetHeader(m_hList);
                hHeader != nullptr && IsWindowVisible(hHeader)) {
                RECT rcHeader{};
                GetWindowRect(hHeader, &rcHeader);
                rc.top += rcHeader.bottom - rcHeader.top;
            }
            rc.top += ScaleForDpi(4, GetWindowDpi(m_hList));
            const HGDIOBJ hOld = SelectObject(
                rDraw.nmcd.hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(m_hList, WM_GETFONT, 0, 0)));
            SetBkMode(rDraw.nmcd.hdc, TRANSPARENT);
            SetTextColor(rDraw.nmcd.hdc, GetSysColor(COLOR_GRAYTEXT));
            DrawTextW(rDraw.nmcd.hdc, kNoMatchText, -1, &rc,
                      DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(rDraw.nmcd.hdc, hOld);
        }
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void CHistoryRows::DrawMarkedText(NMLVCUSTOMDRAW& rDraw) {
    const int nRow = static_cast<int>(rDraw.nmcd.dwItemSpec);
    const int32_t nEntry = EntryOfRow(nRow);
    const CLIP_ITEM* pItem = m_rDoc.FindItem(nEntry);
    RECT rc{};
    if (pItem == nullptr ||
        !ListView_GetSubItemRect(m_hList, nRow, rDraw.iSubItem, LVIR_BOUNDS, &rc)) {
        return;
    }
    const HDC hdc = rDraw.nmcd.hdc;
    const int nSaved = SaveDC(hdc);
    IntersectClipRect(hdc, rc.left, rc.top, rc.right, rc.bottom);
    const bool bSelected = IsSelected(m_hList, nRow);
    SetBkColor(hdc, GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);

    // The list's font, and the same in bold for the marks.
    const auto hFont = reinterpret_cast<HFONT>(SendMessageW(m_hList, WM_GETFONT, 0, 0));
    if (m_hMarkFont == nullptr || m_hMarkFontBase != hFont) {
        if (m_hMarkFont != nullptr) {
            DeleteObject(m_hMarkFont);
        }
        LOGFONTW lf{};
        GetObjectW(hFont != nullptr ? hFont : GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfWeight = FW_BOLD;
        m_hMarkFont = CreateFontIndirectW(&lf);
        m_hMarkFontBase = hFont;
    }
    const std::wstring strShown = MakeListRowText(nEntry, *pItem).strText;
    const std::vector<TEXT_MARK> arrMarks = m_pFilter->FindShownMarks(pItem->strText);
    const HGDIOBJ hOld = SelectObject(hdc, hFont);
    // The text in pieces, plain and marked in turn, each going on where the one before ended
    // (the current position moves with each piece), centred on the row's height.
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    SetTextAlign(hdc, TA_LEFT | TA_TOP | TA_UPDATECP);
    MoveToEx(hdc, rc.left + ScaleForDpi(CELL_TEXT_MARGIN, GetWindowDpi(m_hList)),
             rc.top + ((rc.bottom - rc.top) - tm.tmHeight) / 2, nullptr);
    size_t nPos = 0;
    // A mark: bold, in the highlight colours on a plain row and in their inverse on a selected
    // one, so that it stands out on both (and where the font has no bold face).
    const COLORREF crText = GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    const COLORREF crMark = GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_HIGHLIGHTTEXT);
    SetBkColor(hdc, GetSysColor(bSelected ? COLOR_WINDOW : COLOR_HIGHLIGHT));
    const auto DrawPiece = [&](size_t nEnd, bool bMarked) {
        if (nEnd > nPos) {
            SelectObject(hdc, bMarked && m_hMarkFont ? m_hMarkFont : hFont);
            SetBkMode(hdc, bMarked ? OPAQUE : TRANSPARENT);
            SetTextColor(hdc, bMarked ? crMark : crText);
            TextOutW(hdc, 0, 0, strShown.c_str() + nPos, static_cast<int>(nEnd - nPos));
            nPos = nEnd;
        }
    };
    for (const TEXT_MARK& mark : arrMarks) {
        const size_t nStart = std::min(mark.nStart, strShown.size());
        DrawPiece(nStart, false);
        DrawPiece(std::min(nStart + mark.nLength, strShown.size()), true);
    }
    DrawPiece(strShown.size(), false);
    SelectObject(hdc, hOld);
    RestoreDC(hdc, nSaved);
}
