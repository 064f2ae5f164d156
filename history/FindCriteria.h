#pragma once
// What the search looks for; kept by the document for the whole run.

#include <cstdint>
#include <string>

struct FIND_CRITERIA {
    std::u16string strText; // the text to find
    int32_t bMatchCase = 0; // compare case-sensitively
    int32_t bWholeWord = 0; // the found text must stand as a whole word
};
