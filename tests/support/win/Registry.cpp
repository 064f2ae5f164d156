#include "tests/support/win/Registry.h"

#include <cstring>

namespace wintest {

std::optional<RegistryValue> ReadRegistryValue(HKEY hRoot, const std::wstring& strKey,
                                               const std::wstring& strName) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hRoot, strKey.c_str(), 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegistryValue oValue;
    DWORD nSize = 0;
    LONG nResult = RegQueryValueExW(hKey, strName.c_str(), nullptr, &oValue.nType, nullptr, &nSize);
    if (nResult == ERROR_SUCCESS) {
        oValue.vecData.resize(nSize);
        nResult = RegQueryValueExW(hKey, strName.c_str(), nullptr, &oValue.nType,
                                   oValue.vecData.data(), &nSize);
        oValue.vecData.resize(nSize);
    }
    RegCloseKey(hKey);
    return nResult == ERROR_SUCCESS ? std::optional(oValue) : std::nullopt;
}

std::optional<DWORD> ReadRegistryDWord(HKEY hRoot, const std::wstring& strKey,
                                       const std::wstring& strName) {
    const auto oValue = ReadRegistryValue(hRoot, strKey, strName);
    if (!oValue || oValue->nType != REG_DWORD || oValue->vecData.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD nValue = 0;
    std::memcpy(&nValue, oValue->vecData.data(), sizeof nValue);
    return nValue;
}

bool WriteRegistryValue(HKEY hRoot, const std::wstring& strKey, const std::wstring& strName,
                        DWORD nType, const void* pData, DWORD nSize) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(hRoot, strKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG nResult =
        RegSetValueExW(hKey, strName.c_str(), 0, nType, static_cast<const BYTE*>(pData), nSize);
    RegCloseKey(hKey);
    return nResult == ERROR_SUCCESS;
}

bool WriteRegistryDWord(HKEY hRoot, const std::wstring& strKey, const std::wstring& strName,
                        DWORD nValue) {
    return WriteRegistryValue(hRoot, strKey, strName, REG_DWORD, &nValue, sizeof nValue);
}

bool RegistryKeyExists(HKEY hRoot, const std::wstring& strKey) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hRoot, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(hKey);
    return true;
}

void DeleteRegistryKey(HKEY hRoot, const std::wstring& strKey) {
    RegDeleteTreeW(hRoot, strKey.c_str());
    RegDeleteKeyW(hRoot, strKey.c_str());
}

void DeleteRegistryValue(HKEY hRoot, const std::wstring& strKey, const std::wstring& strName) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hRoot, strKey.c_str(), 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
        RegDeleteValueW(hKey, strName.c_str());
        RegCloseKey(hKey);
    }
}

CRegistryCleanup::~CRegistryCleanup() {
    for (const ENTRY& oEntry : m_vecEntries) {
        Remove(oEntry);
    }
}

CRegistryCleanup& CRegistryCleanup::Key(HKEY hRoot, const std::wstring& strKey) {
    m_vecEntries.push_back({hRoot, strKey, std::nullopt});
    Remove(m_vecEntries.back());
    return *this;
}

CRegistryCleanup& CRegistryCleanup::Value(HKEY hRoot, const std::wstring& strKey,
                                          const std::wstring& strName) {
    m_vecEntries.push_back({hRoot, strKey, strName});
    Remove(m_vecEntries.back());
    return *this;
}

void CRegistryCleanup::Remove(const ENTRY& oEntry) {
    if (oEntry.optName) {
        DeleteRegistryValue(oEntry.hRoot, oEntry.strKey, *oEntry.optName);
    } else {
        DeleteRegistryKey(oEntry.hRoot, oEntry.strKey);
    }
}

} // namespace wintest
