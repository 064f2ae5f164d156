#include "ListRowText.h"

#include "history/KorvexDoc.h"

namespace {

std::wstring ToWide(const std::u16string& str) {
    return std::wstring(reinterpret_cast<const wchar_t*>(str.data()), str.size());
}

} // namespace

LIST_ROW_TEXT MakeListRowText(int32_t nIndex, const CLIP_ITEM& item) {
    LIST_ROW_TEXT row;
    row.strNumber = std::to_wstring(static_cast<int64_t>(nIndex) + 1);

    // Cut first, then escape: a shown text may be longer than the cut.
    row.strText = ToWide(MakeShownText(item.strText));

    row.strCreated = ToWide(item.GetCreatedTimeText());
    row.bBookmark = item.bBookmark;
    return row;
}
