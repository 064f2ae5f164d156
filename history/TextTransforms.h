#pragma once
// The text transformations of the history, as plain functions on UTF-16 texts. Character
// classes and case mappings are the C runtime's wide-character functions under the current
// character-type locale, applied to each UTF-16 unit. Every function is one linear pass.

#include <cstddef>
#include <cstdint>
#include <string>

// Whole-text case changes.
std::u16string ToUpperText(const std::u16string& strText);
std::u16string ToLowerText(const std::u16string& strText);

// Case modes of ChangeCaseText.
enum : int32_t { kCaseUpper = 0, kCaseLower = 1, kCaseTitle = 2 };

// Mode 0 upper case, 1 lower case, 2 lower case with the first character upper-cased; any
// other mode leaves the text as it is.
std::u16string ChangeCaseText(const std::u16string& strText, int32_t nMode);

// A class name becomes an object name: the first character becomes the letter o (CFindDlg gives
// oFindDlg). An empty text stays empty.
std::u16string MakeObjectText(const std::u16string& strText);

// Any text becomes an upper-case identifier: each run of non-alphanumeric characters becomes
// one underscore, an upper-case letter that neither starts the text nor follows an underscore
// gets one before it (myVariableName gives MY_VARIABLE_NAME).
std::u16string ConvertToIdText(const std::u16string& strText);

// An identifier becomes a capitalised mixed-case name: lower case, the first character and the
// one after each run of underscores upper-cased, the underscores removed (MY_VARIABLE_NAME gives
// MyVariableName).
std::u16string ConvertFromIdText(const std::u16string& strText);

// Display escaping for one list row: tab, carriage return and line feed become "<TAB>", "<CR>"
// and "<LF>".
void EscapeDisplayText(std::u16string& strText);

// A list row shows only this many characters of an entry, so a huge clip costs no more than a
// short one.
inline constexpr size_t kShownTextLength = 200;

// How many units of the text a row shows: the first kShownTextLength, one fewer when the cut
// would split a character made of two units.
size_t ShownTextLength(const std::u16string& strText);

// What a row shows of the text: the shown units, then escaped.
std::u16string MakeShownText(const std::u16string& strText);
