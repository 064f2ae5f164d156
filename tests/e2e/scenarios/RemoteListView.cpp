#include "RemoteListView.h"

#include <commctrl.h>

namespace e2e {

int CRemoteListView::RowCount() const {
    return static_cast<int>(SendWithin(m_hList, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring CRemoteListView::Text(int nRow, int nColumn) const {
    LVITEMW oItem{};
    oItem.iSubItem = nColumn;
    oItem.pszText = reinterpret_cast<LPWSTR>(m_oMemory.At(kTextOffset));
    oItem.cchTextMax = static_cast<int>((kBlockSize - kTextOffset) / sizeof(wchar_t));
    if (!m_oMemory.Write(0, &oItem, sizeof oItem)) {
        return L"";
    }
    const LRESULT nLength = SendWithin(m_hList, LVM_GETITEMTEXTW, nRow, m_oMemory.At(0));
    std::wstring strText(nLength > 0 ? static_cast<size_t>(nLength) : 0, L'\0');
    if (!m_oMemory.Read(kTextOffset, strText.data(), strText.size() * sizeof(wchar_t))) {
        return L"";
    }
    return strText;
}

std::vector<std::wstring> CRemoteListView::Column(int nColumn) const {
    std::vector<std::wstring> vecTexts;
    for (int i = 0, nRows = RowCount(); i < nRows; ++i) {
        vecTexts.push_back(Text(i, nColumn));
    }
    return vecTexts;
}

int CRemoteListView::Image(int nRow, int nColumn) const {
    LVITEMW oItem{};
    oItem.mask = LVIF_IMAGE;
    oItem.iItem = nRow;
    oItem.iSubItem = nColumn;
    if (!m_oMemory.Write(0, &oItem, sizeof oItem) ||
        SendWithin(m_hList, LVM_GETITEMW, 0, m_oMemory.At(0)) <= 0 ||
        !m_oMemory.Read(0, &oItem, sizeof oItem)) {
        return -2;
    }
    return oItem.iImage;
}

bool CRemoteListView::CellPoint(int nRow, int nColumn, POINT& rPoint) const {
    RECT rcCell{LVIR_BOUNDS, nColumn, 0, 0};
    if (!m_oMemory.Write(0, &rcCell, sizeof rcCell) ||
        SendWithin(m_hList, LVM_GETSUBITEMRECT, nRow, m_oMemory.At(0)) <= 0 ||
        !m_oMemory.Read(0, &rcCell, sizeof rcCell)) {
        return false;
    }
    rPoint = {rcCell.left + 20, (rcCell.top + rcCell.bottom) / 2};
    MapWindowPoints(m_hList, nullptr, &rPoint, 1);
    return true;
}

} // namespace e2e
