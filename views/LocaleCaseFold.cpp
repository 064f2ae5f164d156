#include "LocaleCaseFold.h"

#include <windows.h>

#include <memory>
#include <vector>

CaseFold MakeLocaleCaseFold() {
    // Every unit in one call, in place of 65,536: the surrogates stand for themselves (a lone
    // one has no case) and so does NUL.
    constexpr int kUnits = 0x10000;
    auto pTable = std::make_shared<std::vector<wchar_t>>(kUnits);
    std::vector<wchar_t>& arrTable = *pTable;
    for (int i = 0; i < kUnits; ++i) {
        const bool bKept = i == 0 || (i >= 0xD800 && i <= 0xDFFF);
        arrTable[static_cast<size_t>(i)] = static_cast<wchar_t>(bKept ? L' ' : i);
    }
    std::vector<wchar_t> arrLower(kUnits);
    const int nMapped = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE, arrTable.data(),
                                      kUnits, arrLower.data(), kUnits, nullptr, nullptr, 0);
    if (nMapped != kUnits) {
        return DefaultCaseFold; // not one unit for one: the table would not line up
    }
    for (int i = 0; i < kUnits; ++i) {
        const bool bKept = i == 0 || (i >= 0xD800 && i <= 0xDFFF);
        arrTable[static_cast<size_t>(i)] =
            bKept ? static_cast<wchar_t>(i) : arrLower[static_cast<size_t>(i)];
    }
    return [pTable](char16_t ch) { return static_cast<char16_t>((*pTable)[ch]); };
}
