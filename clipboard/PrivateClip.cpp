#include "clipboard/PrivateClip.h"

#include <cstdint>
#include <cstring>

namespace {

// The registered numbers of the markers; the system hands out the same number to every
// program that registers a name, so they are looked up once.
struct PRIVATE_FORMATS {
    UINT nExclude = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    UINT nViewerIgnore = RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
    UINT nCanInclude = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
};

const PRIVATE_FORMATS& PrivateFormats() {
    static const PRIVATE_FORMATS s_oFormats;
    return s_oFormats;
}

bool IsOffered(UINT nFormat) {
    return nFormat != 0 && IsClipboardFormatAvailable(nFormat);
}

} // namespace

bool ForbidsHistory(const void* pBlock, size_t nBytes) {
    if (pBlock == nullptr || nBytes < sizeof(uint32_t)) {
        return false;
    }
    uint32_t nValue = 1;
    std::memcpy(&nValue, pBlock, sizeof(nValue)); // the block need not be aligned
    return nValue == 0;
}

bool IsClipboardMarkedPrivate() {
    const PRIVATE_FORMATS& oFormats = PrivateFormats();
    if (IsOffered(oFormats.nExclude) || IsOffered(oFormats.nViewerIgnore)) {
        return true;
    }
    if (!IsOffered(oFormats.nCanInclude)) {
        return false;
    }
    HANDLE hData = GetClipboardData(oFormats.nCanInclude);
    const void* pBlock = hData != nullptr ? GlobalLock(hData) : nullptr;
    if (pBlock == nullptr) {
        return false; // no readable block: it says nothing
    }
    const bool bForbids = ForbidsHistory(pBlock, GlobalSize(hData));
    GlobalUnlock(hData);
    return bForbids;
}
