#pragma once
// One entry of the clipboard history.

#include <cstdint>
#include <string>

// The pattern in which the list views show an entry's creation time.
inline constexpr const char* kCreatedTimePattern = "%Y.%m.%d %H:%M:%S";

// Formats t (seconds since 1970-01-01 00:00:00 UTC) in local time with an ASCII strftime
// pattern, within 128 characters. Empty when the time cannot be converted or formatted.
std::u16string FormatLocalTime(int64_t t, const char* pszPattern);

struct CLIP_ITEM {
    std::u16string strText;
    bool bBookmark = false;
    int64_t tmCreated; // seconds since 1970-01-01 00:00:00 UTC, read once at construction

    CLIP_ITEM();
    explicit CLIP_ITEM(std::u16string strInitialText);

    // The creation time in local time, as the list views show it.
    std::u16string GetCreatedTimeText() const;
};
