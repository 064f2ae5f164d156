#include "settings/ApplicationRegistry.h"

#include "hotkeys/KorvexMainWindow.h"

namespace {

constexpr const wchar_t* kProgramKey = L"Software\\Brenwick\\Korvex";
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunValue = KORVEX_PROGRAM_NAME;

// The per-user Run key, opened (never created) for reading and writing its values.
HKEY OpenRunKey() {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &hKey) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return hKey;
}

} // namespace

CApplicationRegistry::CApplicationRegistry() : CSmartRegistry(HKEY_CURRENT_USER, kProgramKey) {}

CApplicationRegistry::~CApplicationRegistry() = default;

bool CApplicationRegistry::IsStartWithWindows() {
    HKEY hRun = OpenRunKey();
    if (hRun == nullptr) {
        return false;
    }
    // Value names compare without regard to case, so "KORVEX" counts as well.
    const LONG nResult = RegQueryValueExW(hRun, kRunValue, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(hRun);
    return nResult == ERROR_SUCCESS || nResult == ERROR_MORE_DATA;
}

void CApplicationRegistry::SetStartWithWindows(bool bOn) {
    HKEY hRun = OpenRunKey();
    if (hRun == nullptr) {
        return;
    }
    if (bOn) {
        const std::wstring strPath = GetRunningProgramPath();
        if (!strPath.empty()) {
            const std::wstring strCommand = L"\"" + strPath + L"\"";
            RegSetValueExW(hRun, kRunValue, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(strCommand.c_str()),
                           static_cast<DWORD>((strCommand.size() + 1) * sizeof(wchar_t)));
        }
    } else {
        RegDeleteValueW(hRun, kRunValue);
    }
    RegCloseKey(hRun);
}
