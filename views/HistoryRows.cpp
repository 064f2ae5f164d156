#include "HistoryRows.h"

void RefreshHistoryRows(CListCtrl list, CKorvexDoc& rDoc, int32_t nHint,
                        const std::function<void(int nRow, const CLIP_ITEM& item)>& fnFillRow) {
    const HWND hList = list.GetSafeHwnd();
    if (hList == nullptr) {
        return;
    }
    const int32_t nCount = rDoc.GetItemCount();
    if (nHint >= 1) {
        const CLIP_ITEM* pItem = rDoc.FindItem(nHint - 1);
        if (pItem != nullptr && list.GetItemCount() == nCount) {
            fnFillRow(nHint - 1, *pItem);
            return;
        }
    }
    if (list.GetItemCount() == nCount) {
        for (int32_t i = 0; i < nCount; ++i) {
            fnFillRow(i, *rDoc.FindItem(i));
        }
        return;
    }
    SendMessageW(hList, WM_SETREDRAW, FALSE, 0);
    list.DeleteAllItems();
    for (int32_t i = 0; i < nCount; ++i) {
        list.InsertItem(i, L"");
        fnFillRow(i, *rDoc.FindItem(i));
    }
    SendMessageW(hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hList, nullptr, TRUE);
}
