// The path of a module in a folder deeper than MAX_PATH comes back whole: the Run value must
// never hold a cut-off path of the program.

#include "settings/ModulePath.h"
#include "tests/support/win/ChildProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// The long-path form, which file functions accept beyond MAX_PATH.
std::wstring LongForm(const std::wstring& strPath) {
    return L"\\\\?\\" + strPath;
}

TEST(settingsModulePath, GivesTheWholePathOfAModuleInALongFolder) {
    wchar_t szTemp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, szTemp), 0u);
    // Five levels of 60 characters below the temporary folder, removed again at the end.
    std::vector<std::wstring> vecLevels = {szTemp + L"korvex-long-"s +
                                           std::to_wstring(GetCurrentProcessId())};
    for (wchar_t c = L'a'; c < L'f'; ++c) {
        vecLevels.push_back(vecLevels.back() + L"\\" + std::wstring(60, c));
    }
    const std::wstring strCopy = vecLevels.back() + L"\\probe.dll";
    struct CLEANUP {
        const std::vector<std::wstring>& vecLevels;
        const std::wstring& strFile;
        ~CLEANUP() {
            DeleteFileW(LongForm(strFile).c_str());
            for (auto it = vecLevels.rbegin(); it != vecLevels.rend(); ++it) {
                RemoveDirectoryW(LongForm(*it).c_str());
            }
        }
    } oCleanup{vecLevels, strCopy};
    for (const std::wstring& strLevel : vecLevels) {
        CreateDirectoryW(LongForm(strLevel).c_str(), nullptr);
    }
    ASSERT_GT(strCopy.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(CopyFileW(wintest::ProgramPath(L"settings_path_probe.dll").c_str(),
                          LongForm(strCopy).c_str(), FALSE))
        << GetLastError();

    HMODULE hModule = LoadLibraryW(LongForm(strCopy).c_str());
    ASSERT_NE(hModule, nullptr) << "load failed: " << GetLastError();
    const std::wstring strPath = GetModulePath(hModule);
    FreeLibrary(hModule);
    // The system may name it with or without the long-path prefix, but never cut short.
    EXPECT_TRUE(strPath == strCopy || strPath == LongForm(strCopy)) << strPath;

    // The running program, and no path for what is no module.
    EXPECT_EQ(GetModulePath(nullptr), wintest::ProgramPath(L"settings_tests.exe"));
    EXPECT_TRUE(GetModulePath(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x10000))).empty());
}

} // namespace
