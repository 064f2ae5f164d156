#include "settings/SmartRegistry.h"

#include "hotkeys/KorvexMainWindow.h"

#include <algorithm>
#include <atomic>

namespace {

// Read and write access to a key: KEY_READ | KEY_WRITE.
constexpr REGSAM kReadWriteAccess = 0x2001F;

void ShowRegistryErrorBox(const std::wstring& strText) {
    MessageBoxW(GetActiveWindow(), strText.c_str(), KORVEX_PROGRAM_NAME, MB_OK);
}

std::atomic<RegistryErrorReporter> g_pReporter{&ShowRegistryErrorBox};

// The system's message for nError in the given language, or empty when there is none.
std::wstring FormatSystemMessage(DWORD nError, DWORD nLanguage) {
    wchar_t* pszBuffer = nullptr;
    const DWORD nLength = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, nError, nLanguage, reinterpret_cast<wchar_t*>(&pszBuffer), 0, nullptr);
    std::wstring strText;
    if (pszBuffer != nullptr) {
        strText.assign(pszBuffer, nLength);
        LocalFree(pszBuffer);
    }
    return strText;
}

} // namespace

RegistryErrorReporter SetRegistryErrorReporter(RegistryErrorReporter pReporter) {
    return g_pReporter.exchange(pReporter != nullptr ? pReporter : &ShowRegistryErrorBox);
}

std::wstring GetSystemErrorText(DWORD nError) {
    // The user's default language first; any language the system has after that.
    std::wstring strText = FormatSystemMessage(nError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
    if (strText.empty()) {
        strText = FormatSystemMessage(nError, 0);
    }
    while (!strText.empty() &&
           (strText.back() == L'\r' || strText.back() == L'\n' || strText.back() == L' ')) {
        strText.pop_back();
    }
    if (strText.empty()) {
        strText = L"Error " + std::to_wstring(nError);
    }
    return strText;
}

CSmartRegistry::CSmartRegistry(HKEY hRoot, const wchar_t* pszKeyPath) {
    HKEY hKey = nullptr;
    if (pszKeyPath != nullptr && *pszKeyPath != L'\0' &&
        RegCreateKeyExW(hRoot, pszKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWriteAccess,
                        nullptr, &hKey, nullptr) == ERROR_SUCCESS) {
        m_hKey = hKey;
    }
}

CSmartRegistry::~CSmartRegistry() {
    if (m_hKey != nullptr) {
        RegCloseKey(m_hKey);
    }
}

HKEY CSmartRegistry::OpenOperationKey(const wchar_t* pszSubkey) const {
    if (m_hKey == nullptr) {
        return nullptr;
    }
    if (pszSubkey == nullptr || *pszSubkey == L'\0') {
        return m_hKey;
    }
    HKEY hSubkey = nullptr;
    if (RegCreateKeyExW(m_hKey, pszSubkey, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWriteAccess,
                        nullptr, &hSubkey, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return hSubkey;
}

void CSmartRegistry::CloseOperationKey(HKEY hKey) const {
    if (hKey != nullptr && hKey != m_hKey) {
        RegCloseKey(hKey);
    }
}

bool CSmartRegistry::WriteUInt32(const wchar_t* pszSubkey, const wchar_t* pszName,
                                 uint32_t nValue) {
    const DWORD nData = nValue;
    return WriteValue(pszSubkey, pszName, REG_DWORD, &nData, sizeof(nData));
}

bool CSmartRegistry::WriteString(const wchar_t* pszSubkey, const wchar_t* pszName,
                                 const std::wstring& strValue) {
    const size_t nBytes = (strValue.size() + 1) * sizeof(wchar_t);
    if (nBytes > MAXDWORD) {
        return false;
    }
    return WriteValue(pszSubkey, pszName, REG_SZ, strValue.c_str(), static_cast<DWORD>(nBytes));
}

bool CSmartRegistry::WriteValue(const wchar_t* pszSubkey, const wchar_t* pszName, DWORD nType,
                                const void* pData, DWORD nBytes) {
    HKEY hKey = OpenOperationKey(pszSubkey);
    if (hKey == nullptr) {
        return false;
    }
    const LONG nResult =
        RegSetValueExW(hKey, pszName, 0, nType, static_cast<const BYTE*>(pData), nBytes);
    CloseOperationKey(hKey);
    if (nResult != ERROR_SUCCESS) {
        ReportError(static_cast<DWORD>(nResult));
        return false;
    }
    return true;
}

std::optional<uint32_t> CSmartRegistry::ReadUInt32(const wchar_t* pszSubkey,
                                                   const wchar_t* pszName) {
    HKEY hKey = OpenOperationKey(pszSubkey);
    if (hKey == nullptr) {
        return std::nullopt;
    }
    DWORD nData = 0;
    DWORD nType = REG_NONE;
    DWORD nSize = sizeof(nData);
    const LONG nResult =
        RegQueryValueExW(hKey, pszName, nullptr, &nType, reinterpret_cast<BYTE*>(&nData), &nSize);
    CloseOperationKey(hKey);

    if (nResult == ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    if (nResult != ERROR_SUCCESS) {
        // ERROR_MORE_DATA for a value longer than four bytes, whatever its type.
        ReportError(static_cast<DWORD>(nResult));
        return std::nullopt;
    }
    if (nType != REG_DWORD || nSize != sizeof(nData)) {
        // Four bytes or fewer of some other kind: not a number we wrote.
        ReportError(ERROR_INVALID_DATA);
        return std::nullopt;
    }
    return nData;
}

std::optional<std::wstring> CSmartRegistry::ReadString(const wchar_t* pszSubkey,
                                                       const wchar_t* pszName, size_t nMaxLength) {
    HKEY hKey = OpenOperationKey(pszSubkey);
    if (hKey == nullptr) {
        return std::nullopt;
    }
    // Room for the longest text, its NUL and one unit more: a value stored without its NUL that
    // is one character too long must not pass for the longest text with its NUL.
    std::wstring strData(nMaxLength + 2, L'\0');
    DWORD nType = REG_NONE;
    DWORD nSize = static_cast<DWORD>(strData.size() * sizeof(wchar_t));
    const LONG nResult = RegQueryValueExW(hKey, pszName, nullptr, &nType,
                                          reinterpret_cast<BYTE*>(strData.data()), &nSize);
    CloseOperationKey(hKey);

    if (nResult == ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    if (nResult != ERROR_SUCCESS) {
        ReportError(static_cast<DWORD>(nResult)); // ERROR_MORE_DATA for a longer value
        return std::nullopt;
    }
    if (nType != REG_SZ) {
        ReportError(ERROR_INVALID_DATA);
        return std::nullopt;
    }
    // The text up to its first NUL; an odd last byte belongs to no character.
    strData.resize(nSize / sizeof(wchar_t));
    strData.resize(std::min(strData.size(), strData.find(L'\0')));
    if (strData.size() > nMaxLength) {
        ReportError(ERROR_MORE_DATA);
        return std::nullopt;
    }
    return strData;
}

void CSmartRegistry::ReportError(DWORD nError) {
    g_pReporter.load()(GetSystemErrorText(nError));
}
