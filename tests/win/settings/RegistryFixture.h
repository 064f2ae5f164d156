#pragma once
// A clean program key and Run value for every test, and the registry error texts collected
// instead of shown.

#include "settings/SmartRegistry.h"
#include "tests/support/win/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace wintest;

inline const std::wstring kProgramKey = L"Software\\Brenwick\\Korvex";
inline const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The system's message for an error as FormatMessageW gives it, without the line break.
inline std::wstring SystemMessage(DWORD nError) {
    wchar_t* pszBuffer = nullptr;
    const DWORD nLength = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, nError, 0, reinterpret_cast<wchar_t*>(&pszBuffer), 0, nullptr);
    std::wstring strText(pszBuffer != nullptr ? pszBuffer : L"", nLength);
    LocalFree(pszBuffer);
    return strText.substr(0, strText.find_last_not_of(L"\r\n") + 1);
}

class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        Clean();
        Reported().clear();
        m_pPrevious =
            SetRegistryErrorReporter([](const std::wstring& s) { Reported().push_back(s); });
    }
    void TearDown() override {
        SetRegistryErrorReporter(m_pPrevious);
        Clean();
    }
    // The registry error texts reported since the test began.
    static std::vector<std::wstring>& Reported() {
        static std::vector<std::wstring> vecTexts;
        return vecTexts;
    }

private:
    static void Clean() {
        DeleteRegistryKey(HKEY_CURRENT_USER, kProgramKey);
        RegDeleteKeyW(HKEY_CURRENT_USER,
                      L"Software\\Brenwick"); // unless something else lives in it
        DeleteRegistryValue(HKEY_CURRENT_USER, kRunKey, L"Korvex");
    }

    RegistryErrorReporter m_pPrevious = nullptr;
};
