#include "history/ClipItem.h"

#include <atomic>
#include <ctime>
#include <utility>

std::u16string FormatLocalTime(int64_t t, const char* pszPattern) {
    if (pszPattern == nullptr) {
        return {};
    }
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tmLocal{};
#ifdef _WIN32
    if (localtime_s(&tmLocal, &tt) != 0) {
        return {};
    }
#else
    if (localtime_r(&tt, &tmLocal) == nullptr) {
        return {};
    }
#endif
    char szBuffer[128];
    const size_t nLength = std::strftime(szBuffer, sizeof(szBuffer), pszPattern, &tmLocal);
    if (nLength == 0) {
        return {};
    }
    // The patterns and the numbers they produce are ASCII.
    std::u16string strResult(nLength, u'\0');
    for (size_t i = 0; i < nLength; ++i) {
        strResult[i] = static_cast<char16_t>(static_cast<unsigned char>(szBuffer[i]));
    }
    return strResult;
}

namespace {

uint64_t NextRevision() {
    static std::atomic<uint64_t> s_nLast{0};
    return ++s_nLast;
}

} // namespace

CLIP_ITEM::CLIP_ITEM()
    : tmCreated(static_cast<int64_t>(std::time(nullptr))), nRevision(NextRevision()) {}

CLIP_ITEM::CLIP_ITEM(std::u16string strInitialText) : CLIP_ITEM() {
    strText = std::move(strInitialText);
}

void CLIP_ITEM::SetText(std::u16string strNewText) {
    strText = std::move(strNewText);
    nRevision = NextRevision();
}

std::u16string CLIP_ITEM::GetCreatedTimeText() const {
    return FormatLocalTime(tmCreated, kCreatedTimePattern);
}
