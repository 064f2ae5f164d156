#pragma once
// Korvex's settings as the registry holds them, read and written from outside the program.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// Removes the whole settings key and the "Korvex" value of the per-user Run key.
void DeleteKorvexSettings();

// A value below the settings key; pszSubkey is "" for the key itself, else e.g. L"Options".
std::optional<DWORD> ReadSetting(const wchar_t* pszSubkey, const wchar_t* pszName);
bool WriteSetting(const wchar_t* pszSubkey, const wchar_t* pszName, DWORD nValue);

// The data of the "Korvex" Run value (a REG_SZ), if it exists.
std::optional<std::wstring> ReadRunValue();

} // namespace e2e
