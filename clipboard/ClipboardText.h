#pragma once
// Text transfer on the real Win32 clipboard. A clipboard that another program holds open never
// stalls the user-interface thread or the keyboard hook running on it: a read tries once and
// reports Busy, a write gives up after a short, bounded number of tries (well under a quarter
// of a second in total).

#include <windows.h>

#include <cstdint>
#include <string>

#include "history/HistoryPorts.h"

class CProgramNameList;

// Puts the text on the clipboard as CF_UNICODETEXT, with hOwner as the clipboard's owner (it must
// be a window of the calling thread: an owner-less clipboard refuses the hand-over).
ClipboardWriteStatus WriteClipboardText(HWND hOwner, const std::u16string& strText);

// Reads the offered text: CF_UNICODETEXT preferred, otherwise CF_TEXT converted from the ANSI code
// page. A block larger than nMaxBytes is not read (TooLarge); a clip marked as private
// (clipboard/PrivateClip.h) is not read at all (Private), nor is one whose owner window belongs to
// a program that pNeverRecordFrom lists (Excluded; a clip without an owner window is read). Busy
// when another window holds the clipboard open, or when a read or write of this thread is already
// in progress (the clipboard is then open, and a nested close would pull it away from under the
// outer operation).
ClipboardRead ReadClipboardText(HWND hOwner, uint64_t nMaxBytes,
                                const CProgramNameList* pNeverRecordFrom = nullptr);

// GetClipboardSequenceNumber: changes with every change of the clipboard's contents.
uint32_t GetClipboardSequence();
