#include "Registry.h"

#include "KorvexContract.h"

namespace e2e {

namespace {

std::wstring SettingsPath(const wchar_t* pszSubkey) {
    std::wstring strPath = kSettingsKey;
    if (pszSubkey != nullptr && *pszSubkey != 0) {
        strPath += L"\\";
        strPath += pszSubkey;
    }
    return strPath;
}

} // namespace

void DeleteKorvexSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    HKEY hRun = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &hRun) == ERROR_SUCCESS) {
        RegDeleteValueW(hRun, kRunValue);
        RegCloseKey(hRun);
    }
}

std::optional<DWORD> ReadSetting(const wchar_t* pszSubkey, const wchar_t* pszName) {
    DWORD nValue = 0;
    DWORD nSize = sizeof nValue;
    const std::wstring strPath = SettingsPath(pszSubkey);
    if (RegGetValueW(HKEY_CURRENT_USER, strPath.c_str(), pszName, RRF_RT_REG_DWORD, nullptr,
                     &nValue, &nSize) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return nValue;
}

bool WriteSetting(const wchar_t* pszSubkey, const wchar_t* pszName, DWORD nValue) {
    HKEY hKey = nullptr;
    const std::wstring strPath = SettingsPath(pszSubkey);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, strPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &hKey, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool bOk =
        RegSetValueExW(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nValue),
                       sizeof nValue) == ERROR_SUCCESS;
    RegCloseKey(hKey);
    return bOk;
}

std::optional<std::wstring> ReadRunValue() {
    DWORD nBytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, nullptr,
                     &nBytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring strData(nBytes / sizeof(wchar_t) + 1, L'\0');
    nBytes = static_cast<DWORD>(strData.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, strData.data(),
                     &nBytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    strData.resize(wcsnlen(strData.c_str(), strData.size()));
    return strData;
}

} // namespace e2e
