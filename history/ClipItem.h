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
    std::u16string strText; // change it through SetText, so that the filters see the change
    bool bBookmark = false;
    int64_t tmCreated; // seconds since 1970-01-01 00:00:00 UTC, read once at construction
    // A number unique in the run, renewed by SetText: what is kept about the text (the folded
    // copy of the filter) is valid while the entry and this number are the same.
    uint64_t nRevision;

    CLIP_ITEM();
    explicit CLIP_ITEM(std::u16string strInitialText);

    void SetText(std::u16string strNewText);

    // The creation time in local time, as the list views show it.
    std::u16string GetCreatedTimeText() const;
};
