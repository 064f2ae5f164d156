// The path of a module that lives in a folder deeper than MAX_PATH comes back whole: the Run
// value must never hold a cut-off path of the program.

#include "settings/ModulePath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// The long-path form of a path, which file functions accept beyond MAX_PATH.
std::wstring LongForm(const std::wstring& strPath) {
    return L"\\\\?\\" + strPath;
}

std::wstring OwnDirectory() {
    std::wstring strPath(4096, L'\0');
    strPath.resize(GetModuleFileNameW(nullptr, strPath.data(), static_cast<DWORD>(strPath.size())));
    return strPath.substr(0, strPath.find_last_of(L'\\') + 1);
}

// A directory tree below the temporary folder, removed with everything in it at the end.
class LongDirectory {
public:
    LongDirectory() {
        wchar_t szTemp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, szTemp);
        std::wstring strPath = szTemp;
        strPath += L"korvex-long-" + std::to_wstring(GetCurrentProcessId());
        m_vecLevels.push_back(strPath);
        for (int i = 0; i < 5; ++i) {
            strPath += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + i));
            m_vecLevels.push_back(strPath);
        }
        for (const std::wstring& strLevel : m_vecLevels) {
            CreateDirectoryW(LongForm(strLevel).c_str(), nullptr);
        }
    }
    ~LongDirectory() {
        for (const std::wstring& strFile : m_vecFiles) {
            DeleteFileW(LongForm(strFile).c_str());
        }
        for (auto it = m_vecLevels.rbegin(); it != m_vecLevels.rend(); ++it) {
            RemoveDirectoryW(LongForm(*it).c_str());
        }
    }
    LongDirectory(const LongDirectory&) = delete;
    LongDirectory& operator=(const LongDirectory&) = delete;

    const std::wstring& Path() const { return m_vecLevels.back(); }

    // Copies a file into the deepest level; returns its new full path.
    std::wstring CopyIn(const std::wstring& strSource, const std::wstring& strName) {
        const std::wstring strTarget = Path() + L"\\" + strName;
        m_vecFiles.push_back(strTarget);
        if (!CopyFileW(strSource.c_str(), LongForm(strTarget).c_str(), FALSE)) {
            return {};
        }
        return strTarget;
    }

private:
    std::vector<std::wstring> m_vecLevels;
    std::vector<std::wstring> m_vecFiles;
};

TEST(settingsModulePath, GivesTheWholePathOfAModuleInALongFolder) {
    LongDirectory oDirectory;
    ASSERT_GT(oDirectory.Path().size(), static_cast<size_t>(MAX_PATH));
    const std::wstring strCopy =
        oDirectory.CopyIn(OwnDirectory() + L"settings_path_probe.dll", L"probe.dll");
    ASSERT_FALSE(strCopy.empty()) << "copy failed: " << GetLastError();

    HMODULE hModule = LoadLibraryW(LongForm(strCopy).c_str());
    ASSERT_NE(hModule, nullptr) << "load failed: " << GetLastError();
    const std::wstring strPath = GetModulePath(hModule);
    FreeLibrary(hModule);

    // The system may name it with or without the long-path prefix, but never cut short.
    EXPECT_TRUE(strPath == strCopy || strPath == LongForm(strCopy))
        << std::string(strPath.begin(), strPath.end());
}

TEST(settingsModulePath, GivesTheRunningProgram) {
    std::wstring strExpected(4096, L'\0');
    strExpected.resize(
        GetModuleFileNameW(nullptr, strExpected.data(), static_cast<DWORD>(strExpected.size())));
    ASSERT_FALSE(strExpected.empty());
    EXPECT_EQ(GetModulePath(nullptr), strExpected);
    EXPECT_TRUE(GetModulePath(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x10000))).empty());
}

} // namespace
