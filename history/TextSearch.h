#pragma once
// The match rule of the history search.

#include "history/FindCriteria.h"

#include <cstddef>
#include <string>

// The position of the first occurrence of strFind in strText, or std::u16string::npos; an
// empty strFind is found at 0. Linear in the lengths of both texts.
size_t FindFirstOccurrence(const std::u16string& strText, const std::u16string& strFind);

// Whether the text matches the criteria: the criteria text occurs in it (after lower-casing
// both unless case must match) and, for whole words, its first occurrence stands between two
// non-alphanumeric characters or the text's ends. Later occurrences are not tested.
bool MatchesCriteria(const std::u16string& strText, const FIND_CRITERIA& oCriteria);
