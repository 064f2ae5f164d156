#include "settings/SmartRegistry.h"

#include "hotkeys/KorvexMainWindow.h"

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
    HKEY hKey = OpenOperationKey(pszSubkey);
    if (hKey == nullptr) {
        return false;
    }
    const DWORD nData = nValue;
    const LONG nResult = RegSetValueExW(hKey, pszName, 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&nData), sizeof(nData));
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

void CSmartRegistry::ReportError(DWORD nError) {
    g_pReporter.load()(GetSystemErrorText(nError));
}
