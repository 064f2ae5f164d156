#pragma once
// The case folding of find-by-typing as the user's locale sees it: each UTF-16 unit mapped to
// lower case by the system (LCMapStringEx under the user's default locale), made once.

#include "history/HistoryFilter.h"

// The folding; DefaultCaseFold when the system cannot map the units.
CaseFold MakeLocaleCaseFold();
