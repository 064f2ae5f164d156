#include "clipboard/ClipboardText.h"

#include <cstring>

#include "clipboard/ClipboardBlock.h"
#include "clipboard/PrivateClip.h"
#include "clipboard/WindowProgram.h"
#include "history/ProgramNameList.h"

namespace {

// A write tries at most this often, with this pause in between: about 100 ms in all, well
// under the time after which the system drops a low-level keyboard hook that does not answer
// (the hook runs on the same thread). A read tries once: its caller tries again later from the
// message loop.
constexpr int kMaxTries = 10;
constexpr DWORD kPauseMs = 10;

// Texts longer than this (a block of 2 GB) are refused before anything is allocated.
constexpr size_t kMaxWriteUnits = 0x3FFFFFFF;

// Set while this thread has the clipboard open. Reading X11 data dispatches messages inside
// GetClipboardData; a read or write started from such a message would open the clipboard a
// second time and its close would pull the clipboard away from under the outer operation.
thread_local bool t_bClipboardInUse = false;

class CClipboardInUse {
public:
    CClipboardInUse() { t_bClipboardInUse = true; }
    ~CClipboardInUse() { t_bClipboardInUse = false; }
    CClipboardInUse(const CClipboardInUse&) = delete;
    CClipboardInUse& operator=(const CClipboardInUse&) = delete;
};

// Calls fnTry until it succeeds or the shared budget of tries is used up.
template <class F> bool TryBounded(int& nTriesLeft, F fnTry) {
    while (nTriesLeft > 0) {
        --nTriesLeft;
        if (fnTry()) {
            return true;
        }
        if (nTriesLeft > 0) {
            Sleep(kPauseMs);
        }
    }
    return false;
}

// One try to open the clipboard. A clipboard that another window holds open counts as a failed
// try without calling OpenClipboard: under Wine, OpenClipboard (like IsClipboardFormatAvailable)
// first synchronises with the X11 clipboard manager, and that waits until the holder lets go.
bool TryOpenClipboard(HWND hOwner) {
    const HWND hHolder = GetOpenClipboardWindow();
    if (hHolder != nullptr && hHolder != hOwner) {
        return false;
    }
    return OpenClipboard(hOwner) != FALSE;
}

// A movable global block holding the text and its NUL, or NULL when there is no memory for it.
HGLOBAL MakeUnicodeBlock(const std::u16string& strText) {
    const size_t nBytes = (strText.size() + 1) * sizeof(char16_t);
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, nBytes);
    if (hBlock == nullptr) {
        return nullptr;
    }
    void* pBlock = GlobalLock(hBlock);
    if (pBlock == nullptr) {
        GlobalFree(hBlock);
        return nullptr;
    }
    std::memcpy(pBlock, strText.c_str(), nBytes);
    GlobalUnlock(hBlock);
    return hBlock;
}

// Decodes one clipboard block of the given format within the size limit.
ClipboardRead ReadBlock(HANDLE hData, UINT nFormat, uint64_t nMaxBytes) {
    ClipboardRead oRead;
    const SIZE_T nSize = GlobalSize(hData);
    if (static_cast<uint64_t>(nSize) > nMaxBytes) {
        oRead.nStatus = ClipboardReadStatus::TooLarge;
        return oRead;
    }
    const void* pBlock = GlobalLock(hData);
    if (pBlock == nullptr) {
        return oRead; // NoText: the change is ignored
    }
    oRead.strText = nFormat == CF_UNICODETEXT ? UnicodeTextFromBlock(pBlock, nSize)
                                              : AnsiTextFromBlock(pBlock, nSize, CP_ACP);
    GlobalUnlock(hData);
    oRead.nStatus = ClipboardReadStatus::Text;
    return oRead;
}

// Whether the clipboard's owner window belongs to a listed program. No owner window: no.
bool IsListedOwner(const CProgramNameList& oPrograms) {
    const std::wstring strPath = GetWindowProgramPath(GetClipboardOwner());
    return oPrograms.ListsProgramAt(
        std::u16string_view(reinterpret_cast<const char16_t*>(strPath.data()), strPath.size()));
}

} // namespace

ClipboardWriteStatus WriteClipboardText(HWND hOwner, const std::u16string& strText) {
    if (t_bClipboardInUse || strText.size() > kMaxWriteUnits) {
        return ClipboardWriteStatus::FailedUnchanged;
    }
    // The block is made before the clipboard is opened: no memory for it leaves the clipboard
    // as it was, and the clipboard is held open for as short a time as possible.
    HGLOBAL hBlock = MakeUnicodeBlock(strText);
    if (hBlock == nullptr) {
        return ClipboardWriteStatus::FailedUnchanged;
    }
    CClipboardInUse oInUse;
    int nTriesLeft = kMaxTries;
    if (!TryBounded(nTriesLeft, [&] { return TryOpenClipboard(hOwner); })) {
        GlobalFree(hBlock);
        return ClipboardWriteStatus::FailedUnchanged;
    }
    if (!TryBounded(nTriesLeft, [] { return EmptyClipboard() != FALSE; })) {
        CloseClipboard();
        GlobalFree(hBlock);
        return ClipboardWriteStatus::FailedUnchanged;
    }
    // On success the clipboard owns the block; on failure it is still ours to free.
    if (SetClipboardData(CF_UNICODETEXT, hBlock) == nullptr) {
        CloseClipboard();
        GlobalFree(hBlock);
        return ClipboardWriteStatus::FailedChanged;
    }
    CloseClipboard();
    return ClipboardWriteStatus::Written;
}

ClipboardRead ReadClipboardText(HWND hOwner, uint64_t nMaxBytes,
                                const CProgramNameList* pNeverRecordFrom) {
    ClipboardRead oRead;
    if (t_bClipboardInUse) {
        oRead.nStatus = ClipboardReadStatus::Busy;
        return oRead;
    }
    CClipboardInUse oInUse;
    if (!TryOpenClipboard(hOwner)) {
        oRead.nStatus = ClipboardReadStatus::Busy;
        return oRead;
    }
    // A clip its source marked as private, or that a program the user never records put
    // there, is not looked at any further. The owner is asked while the clipboard is open, so
    // that it is the owner of what would be read.
    const bool bPrivate = IsClipboardMarkedPrivate();
    if (bPrivate || (pNeverRecordFrom != nullptr && !pNeverRecordFrom->IsEmpty() &&
                     IsListedOwner(*pNeverRecordFrom))) {
        oRead.nStatus = bPrivate ? ClipboardReadStatus::Private : ClipboardReadStatus::Excluded;
        oRead.nSequence = GetClipboardSequence();
        CloseClipboard();
        return oRead;
    }
    // Unicode text first; 8-bit text only when no Unicode text can be had.
    for (const UINT nFormat : {UINT{CF_UNICODETEXT}, UINT{CF_TEXT}}) {
        if (!IsClipboardFormatAvailable(nFormat)) {
            continue;
        }
        HANDLE hData = GetClipboardData(nFormat);
        if (hData != nullptr) {
            oRead = ReadBlock(hData, nFormat, nMaxBytes);
            break;
        }
    }
    // Fetching data imported from X11 changes the number: record the one the text belongs to.
    oRead.nSequence = GetClipboardSequence();
    CloseClipboard();
    return oRead;
}

uint32_t GetClipboardSequence() {
    return static_cast<uint32_t>(GetClipboardSequenceNumber());
}
