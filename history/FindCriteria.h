#pragma once
// What the search looks for; kept by the document for the whole run.

#include <cstdint>
#include <string>

struct FIND_CRITERIA {
    std::u16string strText;  // the text to find
    bool bMatchCase = false; // compare case-sensitively
    bool bWholeWord = false; // the found text must stand as a whole word
};
