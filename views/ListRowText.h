#pragma once
// What one history row shows: the entry's number, its text on one line, its creation time.

#include <windows.h>

#include <cstdint>
#include <string>

#include "history/ClipItem.h"

struct LIST_ROW_TEXT {
    std::wstring strNumber;  // the 1-based number, "%d"
    std::wstring strText;    // MakeShownText: the first 200 characters, tabs and breaks escaped
    std::wstring strCreated; // local time, "%Y.%m.%d %H:%M:%S"; empty when it cannot be converted
    bool bBookmark = false;
};

LIST_ROW_TEXT MakeListRowText(int32_t nIndex, const CLIP_ITEM& item);
