#pragma once
// The rows of a history list (the main window's and the small clip window's): one row per entry,
// newest first. The list holds no rows of its own (LVS_OWNERDATA): it knows only how many there
// are and asks for the cells it draws (LVN_GETDISPINFO), which are made then from the document,
// so filling the list, a new entry, a trim or an activation costs the same however long the
// history is.

#include <windows.h>

#include <commctrl.h>

#include <vector>

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
    CHistoryRows(CKorvexDoc& rDoc, HISTORY_ROW_COLUMNS columns)
        : m_rDoc(rDoc), m_columns(columns) {}

    // The report-style list control (LVS_OWNERDATA) whose rows these are, and its two images.
    void SetList(HWND hList) { m_hList = hList; }
    void SetImages(int nPlainImage, int nBookmarkImage) {
        m_nPlainImage = nPlainImage;
        m_nBookmarkImage = nBookmarkImage;
    }

    // Brings the rows in line with the document after a change. A hint for a row that no longer
    // exists (hints can arrive late, and any process can post one) refreshes the whole list. With
    // as many rows as entries the rows are redrawn in place and the selection stays by row number;
    // a new entry at the head (the oldest ones trimmed) adds one row and leaves none selected;
    // anything else rebuilds the rows, none selected.
    void Refresh(HistoryHint oHint);

    // The list's LVN_GETDISPINFOW: fills the cell it asks for. False for any other notification.
    bool OnNotify(NMHDR* pnm, LRESULT* pResult);

private:
    void FillCell(LVITEMW& rItem);

    CKorvexDoc& m_rDoc;
    HISTORY_ROW_COLUMNS m_columns;
    HWND m_hList = nullptr;
    int m_nPlainImage = -1;
    int m_nBookmarkImage = -1;
    // The entries the rows stood for at the last refresh, row 0 first: compared, never read.
    std::vector<const CLIP_ITEM*> m_arrShown;
};
