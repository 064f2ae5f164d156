#pragma once
// What one history row shows: the entry's number, its text on one line, its creation time.

#include <windows.h>

#include <cstdint>
#include <string>

#include "history/ClipItem.h"

// Only this many characters of an entry are shown, so a huge clip costs no more than a short one.
constexpr size_t LIST_ROW_TEXT_LENGTH = 200;

struct LIST_ROW_TEXT {
    std::wstring strNumber;  // the 1-based number, "%d"
    std::wstring strText;    // the first 200 characters, then tabs and line breaks escaped
    std::wstring strCreated; // local time, "%Y.%m.%d %H:%M:%S"; empty when it cannot be converted
    bool bBookmark = false;
};

LIST_ROW_TEXT MakeListRowText(int32_t nIndex, const CLIP_ITEM& item);
