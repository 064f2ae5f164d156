#include "settings/OptionsRows.h"

#include "history/SmartTypedPtrArray.h"
#include "settings/CommandTable.h"
#include "settings/HotkeyDescription.h"
#include "settings/HotkeyText.h"
#include "settings/KorvexSettings.h"

#include <array>

namespace {

constexpr size_t kFieldCharacters = 15;
constexpr uint32_t kLargestField = 0x7FFFFFFF; // the settings hold signed 32-bit numbers

int32_t CompareIndex(void*, MESSAGE_DESCRIPTION* pFirst, MESSAGE_DESCRIPTION* pSecond) {
    if (pFirst->nIndex < pSecond->nIndex) {
        return -1;
    }
    return pFirst->nIndex > pSecond->nIndex ? 1 : 0;
}

} // namespace

std::vector<OPTIONS_ROW> BuildOptionsRows(const CCommandTable& oCommands,
                                          const CKorvexSettings& oSettings) {
    struct GROUP {
        HotkeyGroup nGroup;
        const wchar_t* pszCaption;
    };
    constexpr std::array<GROUP, 3> aGroups = {
        {{HG_VIEW, L"View"}, {HG_EDIT, L"Edit"}, {HG_OPTIONS, L"Options"}}};

    std::vector<OPTIONS_ROW> vecRows;
    for (const GROUP& oGroup : aGroups) {
        CSmartTypedPtrArray<MESSAGE_DESCRIPTION> arrCommands;
        for (const auto& [nMessage, oCommand] : oCommands.GetCommands()) {
            if (oCommand.nGroup == oGroup.nGroup) {
                arrCommands.AddCopy(oCommand);
            }
        }
        arrCommands.SetSortFunction(&CompareIndex);
        arrCommands.Sort();

        vecRows.push_back({0, oGroup.pszCaption, {}});
        for (int32_t i = 0; i < arrCommands.GetSize(); ++i) {
            const MESSAGE_DESCRIPTION& oCommand = *arrCommands[i];
            vecRows.push_back({oCommand.nMessage, std::wstring(L"   ") + oCommand.szName,
                               GetHotkeyText(oCommands.GetHotkey(oSettings, oCommand.nMessage))});
        }
    }
    return vecRows;
}

uint32_t ParseDigitField(std::wstring_view strText) {
    uint32_t nValue = 0;
    for (const wchar_t c : strText.substr(0, kFieldCharacters)) {
        if (c < L'0' || c > L'9') {
            continue;
        }
        const uint32_t nDigit = static_cast<uint32_t>(c - L'0');
        nValue = nValue > (kLargestField - nDigit) / 10 ? kLargestField : nValue * 10 + nDigit;
    }
    return nValue;
}
