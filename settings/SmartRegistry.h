#pragma once
// A small wrapper around one open registry key: 32-bit values in the key or in a named subkey
// of it, and unexpected registry errors shown to the user with the system's own text.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// Shows the text of a registry error to the user. The default shows a message box captioned
// "Korvex" with an OK button; tests put their own in place to collect the texts.
using RegistryErrorReporter = void (*)(const std::wstring& strText);

// Installs a reporter (nullptr restores the message box) and returns the one it replaces.
RegistryErrorReporter SetRegistryErrorReporter(RegistryErrorReporter pReporter);

// The system's text for an error code, without the trailing line break; "Error <number>" when
// the system has no text for it.
std::wstring GetSystemErrorText(DWORD nError);

class CSmartRegistry {
public:
    // Opens (creating it if missing) the key path below the root. When that fails no key is
    // held: every read finds nothing and every write fails, silently.
    CSmartRegistry(HKEY hRoot, const wchar_t* pszKeyPath);
    virtual ~CSmartRegistry();

    CSmartRegistry(const CSmartRegistry&) = delete;
    CSmartRegistry& operator=(const CSmartRegistry&) = delete;

    // Writes a REG_DWORD into the held key (pszSubkey nullptr) or into a subkey of it, created
    // if missing. False when the subkey cannot be opened (no message) or the write fails
    // (reported).
    bool WriteUInt32(const wchar_t* pszSubkey, const wchar_t* pszName, uint32_t nValue);

    // Reads a REG_DWORD from the held key or from a subkey of it (created if missing). Nothing
    // (an empty result) when the value is absent, silently; and when it is of another type or
    // size, or the registry fails otherwise, after the error was reported.
    std::optional<uint32_t> ReadUInt32(const wchar_t* pszSubkey, const wchar_t* pszName);

    // The same for a REG_SZ of at most nMaxLength characters (the terminating NULs not counted;
    // the text ends at its first NUL). A longer value is reported as ERROR_MORE_DATA, a value
    // of another type as ERROR_INVALID_DATA.
    std::optional<std::wstring> ReadString(const wchar_t* pszSubkey, const wchar_t* pszName,
                                           size_t nMaxLength);
    // Writes a REG_SZ with its terminating NUL, as WriteUInt32 writes.
    bool WriteString(const wchar_t* pszSubkey, const wchar_t* pszName,
                     const std::wstring& strValue);

private:
    // The subkey for one operation: the held key itself, or the subkey opened or created below
    // it (nullptr when that fails). Close with CloseOperationKey.
    HKEY OpenOperationKey(const wchar_t* pszSubkey) const;
    void CloseOperationKey(HKEY hKey) const;
    bool WriteValue(const wchar_t* pszSubkey, const wchar_t* pszName, DWORD nType,
                    const void* pData, DWORD nBytes);
    static void ReportError(DWORD nError);

    HKEY m_hKey = nullptr;
};
