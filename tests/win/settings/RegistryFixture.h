#pragma once
// A clean program key and Run value for every test, and the registry error texts collected
// instead of shown.

#include "settings/SmartRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

inline constexpr const wchar_t* kTestProgramKey = L"Software\\Brenwick\\Korvex";
inline constexpr const wchar_t* kTestRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// What a raw read of a value found.
struct RawValue {
    DWORD nType = REG_NONE;
    std::vector<BYTE> vecData;
};

std::optional<RawValue> ReadRawValue(const std::wstring& strKeyPath, const wchar_t* pszName);
void WriteRawValue(const std::wstring& strKeyPath, const wchar_t* pszName, DWORD nType,
                   const void* pData, DWORD nSize);
void WriteRawDWord(const std::wstring& strKeyPath, const wchar_t* pszName, DWORD nValue);
bool KeyExists(const std::wstring& strKeyPath);
// The system's message for an error, as FormatMessageW gives it without the line break.
std::wstring SystemMessage(DWORD nError);

class RegistryFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The registry error texts reported since the test began.
    static std::vector<std::wstring>& Reported();

private:
    static void Collect(const std::wstring& strText);
    static void RemoveEverything();

    RegistryErrorReporter m_pPrevious = nullptr;
};
