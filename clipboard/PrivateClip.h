#pragma once
// Clips that their source marks as private. Password managers and other programs that copy
// secrets add one of three registered formats to what they put on the clipboard; Korvex records
// nothing of such a change:
//   "ExcludeClipboardContentFromMonitorProcessing"  present;
//   "Clipboard Viewer Ignore"                       present;
//   "CanIncludeInClipboardHistory"                  a block whose first 32-bit value is 0 (a 1,
//                                                   a shorter block or no data does not count).

#include <windows.h>

#include <cstddef>

// The first 32-bit value of a "CanIncludeInClipboardHistory" block says 0 ("do not keep"). A
// block shorter than that says nothing.
bool ForbidsHistory(const void* pBlock, size_t nBytes);

// True when the clipboard, which the calling thread has open, carries one of the markers. Reads
// no text: when none of the formats is offered it costs three format look-ups.
bool IsClipboardMarkedPrivate();
