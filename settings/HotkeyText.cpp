#include "settings/HotkeyText.h"

#include "settings/ApplicationRegistry.h"
#include "settings/KeyNameTable.h"

namespace {

const CKeyNameTable& KeyNames() {
    static const CKeyNameTable oNames = [] {
        CKeyNameTable oTable;
        oTable.Build();
        return oTable;
    }();
    return oNames;
}

} // namespace

std::wstring GetHotkeyText(uint32_t nConfiguration) {
    std::wstring strText;
    if (nConfiguration == 0) {
        return strText;
    }
    if (CApplicationRegistry::HasCtrl(nConfiguration)) {
        strText += L"Ctrl + ";
    }
    if (CApplicationRegistry::HasAlt(nConfiguration)) {
        strText += L"Alt + ";
    }
    if (CApplicationRegistry::HasShift(nConfiguration)) {
        strText += L"Shift + ";
    }
    std::wstring strKey;
    if (KeyNames().GetKeyName(CApplicationRegistry::GetHotkeyKey(nConfiguration), strKey)) {
        strText += strKey;
    }
    return strText;
}
