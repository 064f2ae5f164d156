#include "RegistryFixture.h"

std::vector<std::wstring>& RegistryFixture::Reported() {
    static std::vector<std::wstring> vecTexts;
    return vecTexts;
}

void RegistryFixture::Collect(const std::wstring& strText) {
    Reported().push_back(strText);
}

void RegistryFixture::RemoveEverything() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestProgramKey);
    // The parent goes too, unless something else lives in it.
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Brenwick");
    HKEY hRun = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestRunKey, 0, KEY_SET_VALUE, &hRun) == ERROR_SUCCESS) {
        RegDeleteValueW(hRun, L"Korvex");
        RegCloseKey(hRun);
    }
}

void RegistryFixture::SetUp() {
    RemoveEverything();
    Reported().clear();
    m_pPrevious = SetRegistryErrorReporter(&RegistryFixture::Collect);
}

void RegistryFixture::TearDown() {
    SetRegistryErrorReporter(m_pPrevious);
    RemoveEverything();
}

std::optional<RawValue> ReadRawValue(const std::wstring& strKeyPath, const wchar_t* pszName) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, strKeyPath.c_str(), 0, KEY_QUERY_VALUE, &hKey) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    RawValue oValue;
    DWORD nSize = 0;
    LONG nResult = RegQueryValueExW(hKey, pszName, nullptr, &oValue.nType, nullptr, &nSize);
    if (nResult == ERROR_SUCCESS) {
        oValue.vecData.resize(nSize);
        nResult =
            RegQueryValueExW(hKey, pszName, nullptr, &oValue.nType, oValue.vecData.data(), &nSize);
        oValue.vecData.resize(nSize);
    }
    RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return oValue;
}

void WriteRawValue(const std::wstring& strKeyPath, const wchar_t* pszName, DWORD nType,
                   const void* pData, DWORD nSize) {
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, strKeyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(hKey, pszName, 0, nType, static_cast<const BYTE*>(pData), nSize),
              ERROR_SUCCESS);
    RegCloseKey(hKey);
}

void WriteRawDWord(const std::wstring& strKeyPath, const wchar_t* pszName, DWORD nValue) {
    WriteRawValue(strKeyPath, pszName, REG_DWORD, &nValue, sizeof(nValue));
}

bool KeyExists(const std::wstring& strKeyPath) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, strKeyPath.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(hKey);
    return true;
}

std::wstring SystemMessage(DWORD nError) {
    wchar_t* pszBuffer = nullptr;
    const DWORD nLength = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, nError, 0, reinterpret_cast<wchar_t*>(&pszBuffer), 0, nullptr);
    std::wstring strText(pszBuffer != nullptr ? pszBuffer : L"", nLength);
    LocalFree(pszBuffer);
    while (!strText.empty() && (strText.back() == L'\n' || strText.back() == L'\r')) {
        strText.pop_back();
    }
    return strText;
}
