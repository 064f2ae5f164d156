#pragma once
// What the options dialog shows and reads, apart from its window: the rows of its hotkey list
// and the number that a digit field holds.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CCommandTable;
class CKorvexSettings;

// One row of the hotkey list. A caption row has message 0 and an empty hotkey text.
struct OPTIONS_ROW {
    uint32_t nMessage = 0;
    std::wstring strName;   // the caption, or three spaces and the command's name
    std::wstring strHotkey; // the stored binding's text (the default while none is stored)
};

// The 29 rows: "View", "Edit" and "Options", each followed by the commands of its group in
// ascending index. Commands of any other group are not listed.
std::vector<OPTIONS_ROW> BuildOptionsRows(const CCommandTable& oCommands,
                                          const CKorvexSettings& oSettings);

// The number that the digits of a field say, in order, whatever else stands between them: a
// pasted "-5" gives 5, letters alone give 0, an empty field gives 0. Only the first 15
// characters count; the result stops growing at 2147483647.
uint32_t ParseDigitField(std::wstring_view strText);
