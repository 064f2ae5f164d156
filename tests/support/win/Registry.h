#pragma once
// Registry values as another program sees them: raw reads and writes that bypass the code under
// test, and a guard that removes what a test creates.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace wintest {

struct RegistryValue {
    DWORD nType = REG_NONE;
    std::vector<BYTE> vecData;
};

// The value's type and bytes; nullopt when the key or the value does not exist.
std::optional<RegistryValue> ReadRegistryValue(HKEY hRoot, const std::wstring& strKey,
                                               const std::wstring& strName);
// The value when it is a 4-byte REG_DWORD, else nullopt.
std::optional<DWORD> ReadRegistryDWord(HKEY hRoot, const std::wstring& strKey,
                                       const std::wstring& strName);
// Creates the key when needed and stores the value; true on success.
bool WriteRegistryValue(HKEY hRoot, const std::wstring& strKey, const std::wstring& strName,
                        DWORD nType, const void* pData, DWORD nSize);
bool WriteRegistryDWord(HKEY hRoot, const std::wstring& strKey, const std::wstring& strName,
                        DWORD nValue);
bool RegistryKeyExists(HKEY hRoot, const std::wstring& strKey);
// Remove a key with everything below it, or one value; nothing happens when it is not there.
void DeleteRegistryKey(HKEY hRoot, const std::wstring& strKey);
void DeleteRegistryValue(HKEY hRoot, const std::wstring& strKey, const std::wstring& strName);

// Removes the keys (with everything below them) and values it is given at once, and again when
// it goes, so that a test starts clean and leaves nothing behind however it ends.
class CRegistryCleanup {
public:
    CRegistryCleanup() = default;
    ~CRegistryCleanup();
    CRegistryCleanup(const CRegistryCleanup&) = delete;
    CRegistryCleanup& operator=(const CRegistryCleanup&) = delete;

    CRegistryCleanup& Key(HKEY hRoot, const std::wstring& strKey);
    CRegistryCleanup& Value(HKEY hRoot, const std::wstring& strKey, const std::wstring& strName);

private:
    struct ENTRY {
        HKEY hRoot;
        std::wstring strKey;
        std::optional<std::wstring> optName; // none: the whole key
    };
    static void Remove(const ENTRY& oEntry);

    std::vector<ENTRY> m_vecEntries;
};

} // namespace wintest
