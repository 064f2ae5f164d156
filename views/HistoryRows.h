#pragma once
// The rows of a history list (the main window's and the small clip window's): one row per entry,
// newest first, or, while a filter is on, one row per matching entry in history order. The list
// holds no rows of its own (LVS_OWNERDATA): it knows only how many there are and asks for the
// cells it draws (LVN_GETDISPINFO), which are made then from the document, so filling the list,
// a new entry, a trim or an activation costs the same however long the history is. While a
// filter is on, the text cells are drawn here, with the filter's words marked, and an empty list
// says that nothing matches.

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "history/HistoryFilter.h"
#include "history/KorvexDoc.h"

// Where a list shows what: the columns of the bookmark image, the number, the text and the
// creation time (the image and the number may share a column).
struct HISTORY_ROW_COLUMNS {
    int nImage;
    int nNumber;
    int nText;
    int nCreated;
};

class CHistoryRows {
public:
    // pFolded: the document's folded texts, which a filter searches; none: no filter.
    CHistoryRows(CKorvexDoc& rDoc, HISTORY_ROW_COLUMNS columns, CFoldedHistory* pFolded = nullptr);
    ~CHistoryRows();

    // The report-style list control (LVS_OWNERDATA) whose rows these are, and its two images.
    void SetList(HWND hList) { m_hList = hList; }
    void SetImages(int nPlainImage, int nBookmarkImage) {
        m_nPlainImage = nPlainImage;
        m_nBookmarkImage = nBookmarkImage;
    }

    // Brings the rows in line with the document after a change. A hint for a row that no longer
    // exists (hints can arrive late, and any process can post one) refreshes the whole list.
    // Without a filter: with as many rows as entries the rows are redrawn in place and the
    // selection stays by row number; a new entry at the head (the oldest ones trimmed) or another
    // count leaves none selected. With a filter the selection stays on the entries it was on.
    void Refresh(HistoryHint oHint);

    // A new filter text: the rows are found again, row 0 alone selected and in view. False when
    // its words are the same as before.
    bool SetFilterText(const std::u16string& strText);
    bool IsFiltering() const { return m_pFilter && m_pFilter->HasWords(); }
    // The entry (its index in the document) a row shows, -1 for none; and the row that shows an
    // entry, -1 when the filter hides it.
    int32_t EntryOfRow(int nRow) const;
    int RowOfEntry(int32_t nEntry) const;

    // The list's LVN_GETDISPINFOW (fills the cell it asks for) and NM_CUSTOMDRAW (the marked
    // text cells and the empty list's line while a filter is on). False for any other.
    bool OnNotify(NMHDR* pnm, LRESULT* pResult);

    // What an empty filtered list says.
    static constexpr const wchar_t* kNoMatchText = L"No entry matches the filter.";

private:
    void FillCell(LVITEMW& rItem);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& rDraw);
    void DrawMarkedText(NMLVCUSTOMDRAW& rDraw);
    void SelectOnly(int nRow);

    CKorvexDoc& m_rDoc;
    HISTORY_ROW_COLUMNS m_columns;
    HWND m_hList = nullptr;
    int m_nPlainImage = -1;
    int m_nBookmarkImage = -1;
    // The entries the rows stood for at the last refresh, row 0 first: compared, never read.
    std::vector<const CLIP_ITEM*> m_arrShown;
    std::unique_ptr<CHistoryFilter> m_pFilter;
    HFONT m_hMarkFont = nullptr; // the list's font in bold, made when first drawn
    HFONT m_hMarkFontBase = nullptr;
};
