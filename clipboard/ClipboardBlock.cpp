#include "clipboard/ClipboardBlock.h"

#include <climits>
#include <cstring>

std::u16string UnicodeTextFromBlock(const void* pBlock, size_t nBytes) {
    const size_t nUnits = nBytes / sizeof(char16_t);
    if (pBlock == nullptr || nUnits == 0) {
        return {};
    }
    // The block need not be aligned for char16_t: copy it out bytewise, then cut at the NUL.
    std::u16string strText(nUnits, u'\0');
    std::memcpy(strText.data(), pBlock, nUnits * sizeof(char16_t));
    const size_t nEnd = strText.find(u'\0');
    if (nEnd != std::u16string::npos) {
        strText.resize(nEnd);
    }
    return strText;
}

std::u16string AnsiTextFromBlock(const void* pBlock, size_t nBytes, UINT nCodePage) {
    if (pBlock == nullptr || nBytes == 0) {
        return {};
    }
    const char* pBytes = static_cast<const char*>(pBlock);
    const void* pZero = std::memchr(pBytes, 0, nBytes);
    const size_t nLength =
        pZero ? static_cast<size_t>(static_cast<const char*>(pZero) - pBytes) : nBytes;
    if (nLength == 0 || nLength > static_cast<size_t>(INT_MAX)) {
        return {};
    }
    const int nWide =
        MultiByteToWideChar(nCodePage, 0, pBytes, static_cast<int>(nLength), nullptr, 0);
    if (nWide <= 0) {
        return {};
    }
    std::u16string strText(static_cast<size_t>(nWide), u'\0');
    MultiByteToWideChar(nCodePage, 0, pBytes, static_cast<int>(nLength),
                        reinterpret_cast<wchar_t*>(strText.data()), nWide);
    return strText;
}
