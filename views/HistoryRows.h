#pragma once
// Bringing a history list's rows in line with the document after a change.

#include <cstdint>
#include <functional>

#include "framework/ListCtrl.h"
#include "history/KorvexDoc.h"

// nHint 0: the whole list may have changed: with as many rows as entries every row is rewritten
// in place (the selection stays by row number), otherwise the rows are rebuilt (no row stays
// selected). nHint n >= 1: only row n - 1 is rewritten; a hint for a row that no longer exists
// (hints can arrive late, and any process can post one) refreshes the whole list instead.
// fnFillRow writes the cells of one existing row.
void RefreshHistoryRows(CListCtrl list, CKorvexDoc& rDoc, int32_t nHint,
                        const std::function<void(int nRow, const CLIP_ITEM& item)>& fnFillRow);
