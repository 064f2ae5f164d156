#pragma once
// The hotkey commands that act on the first entries of the history and need no window: revert,
// the transformations, bookmark, activate the first bookmark and the date/time stamps. Each
// needs what it acts on (an entry, two entries, a bookmark) and otherwise does nothing.

#include <cstdint>

#include "history/KorvexDoc.h"

// Runs the command of the hotkey message; false when the message is not one of them.
bool RunFirstItemCommand(CKorvexDoc& rDoc, uint32_t nMessage);
