#include "ListRowText.h"

#include "history/KorvexDoc.h"

namespace {

std::wstring ToWide(const std::u16string& str) {
    return std::wstring(reinterpret_cast<const wchar_t*>(str.data()), str.size());
}

bool IsHighSurrogate(char16_t ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}

} // namespace

LIST_ROW_TEXT MakeListRowText(int32_t nIndex, const CLIP_ITEM& item) {
    LIST_ROW_TEXT row;
    row.strNumber = std::to_wstring(static_cast<int64_t>(nIndex) + 1);

    // Cut first, then escape: a shown text may be longer than the cut. A character made of two
    // units is not split in half at the cut.
    size_t nLength = std::min(item.strText.size(), LIST_ROW_TEXT_LENGTH);
    if (nLength < item.strText.size() && nLength > 0 &&
        IsHighSurrogate(item.strText[nLength - 1])) {
        --nLength;
    }
    std::u16string strShown = item.strText.substr(0, nLength);
    EscapeDisplayText(strShown);
    row.strText = ToWide(strShown);

    row.strCreated = ToWide(item.GetCreatedTimeText());
    row.bBookmark = item.bBookmark;
    return row;
}
