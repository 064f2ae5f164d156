// The application settings on the real registry: defaults of a first run, where every setter
// stores its value, the clamped timer, hotkey bindings and the "Start with Windows" switch.

#include "RegistryFixture.h"

#include "settings/ApplicationRegistry.h"
#include "settings/RegistryHistorySettings.h"

#include <cstring>
#include <utility>

namespace {

const std::wstring kKey = kTestProgramKey;

class settingsApplicationRegistry : public RegistryFixture {};

// The DWORD stored at the key path and name, or nullopt when there is none of that kind.
std::optional<DWORD> RawDWord(const std::wstring& strKeyPath, const wchar_t* pszName) {
    const auto oRaw = ReadRawValue(strKeyPath, pszName);
    if (!oRaw || oRaw->nType != REG_DWORD || oRaw->vecData.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD nValue = 0;
    std::memcpy(&nValue, oRaw->vecData.data(), sizeof(nValue));
    return nValue;
}

TEST_F(settingsApplicationRegistry, FirstRunGivesEveryDefault) {
    CApplicationRegistry oSettings;
    EXPECT_TRUE(KeyExists(kKey));
    EXPECT_EQ(oSettings.GetFirstRun(), 1u);
    int32_t nLeft = -7, nTop = -7, nWidth = -7, nHeight = -7;
    oSettings.GetMainWindowPlacement(nLeft, nTop, nWidth, nHeight);
    EXPECT_EQ(nLeft, 0);
    EXPECT_EQ(nTop, 0);
    EXPECT_EQ(nWidth, 360);
    EXPECT_EQ(nHeight, 550);
    EXPECT_EQ(oSettings.GetDockingEnabled(), 1u);
    oSettings.GetSmallWindowSize(nWidth, nHeight);
    EXPECT_EQ(nWidth, 415);
    EXPECT_EQ(nHeight, 250);
    EXPECT_EQ(oSettings.GetDoPaste(), 0u);
    EXPECT_EQ(oSettings.GetBufferSize(), 200);
    EXPECT_EQ(oSettings.GetMaxClipboardCopySize(), 5u);
    EXPECT_EQ(oSettings.GetResetClipboardTimer(), 10000u);
    EXPECT_FALSE(oSettings.IsStartWithWindows());
    EXPECT_TRUE(Reported().empty());

    CRegistryHistorySettings oHistorySettings;
    EXPECT_EQ(oHistorySettings.GetBufferSize(), 200);
    EXPECT_EQ(oHistorySettings.GetMaxClipboardCopySize(), 5u);
}

TEST_F(settingsApplicationRegistry, EverySetterStoresUnderItsNameAndReadsBack) {
    {
        CApplicationRegistry oSettings;
        oSettings.SetFirstRun(0);
        oSettings.SetMainWindowPlacement(-1280, -20, 640, 480);
        oSettings.SetDockingEnabled(0);
        oSettings.SetSmallWindowSize(500, 300);
        oSettings.SetFindWindowSize(321, 123);
        oSettings.SetDoPaste(1);
        oSettings.SetBufferSize(999);
        oSettings.SetMaxClipboardCopySize(12);
    }
    CApplicationRegistry oSettings;
    EXPECT_EQ(oSettings.GetFirstRun(), 0u);
    int32_t nLeft = 0, nTop = 0, nWidth = 0, nHeight = 0;
    oSettings.GetMainWindowPlacement(nLeft, nTop, nWidth, nHeight);
    EXPECT_EQ(nLeft, -1280);
    EXPECT_EQ(nTop, -20);
    EXPECT_EQ(nWidth, 640);
    EXPECT_EQ(nHeight, 480);
    EXPECT_EQ(oSettings.GetDockingEnabled(), 0u);
    oSettings.GetSmallWindowSize(nWidth, nHeight);
    EXPECT_EQ(nWidth, 500);
    EXPECT_EQ(nHeight, 300);
    EXPECT_EQ(oSettings.GetDoPaste(), 1u);
    EXPECT_EQ(oSettings.GetBufferSize(), 999);
    EXPECT_EQ(oSettings.GetMaxClipboardCopySize(), 12u);

    // The names other programs and the user see in the registry.
    EXPECT_EQ(RawDWord(kKey, L"FirstRun"), 0u);
    EXPECT_EQ(RawDWord(kKey + L"\\MainWindow", L"Left"), static_cast<DWORD>(-1280));
    EXPECT_EQ(RawDWord(kKey + L"\\MainWindow", L"Top"), static_cast<DWORD>(-20));
    EXPECT_EQ(RawDWord(kKey + L"\\MainWindow", L"Width"), 640u);
    EXPECT_EQ(RawDWord(kKey + L"\\MainWindow", L"Height"), 480u);
    EXPECT_EQ(RawDWord(kKey + L"\\MainWindow", L"DockingEnabled"), 0u);
    EXPECT_EQ(RawDWord(kKey + L"\\SmallWindow", L"Width"), 500u);
    EXPECT_EQ(RawDWord(kKey + L"\\SmallWindow", L"Height"), 300u);
    EXPECT_EQ(RawDWord(kKey + L"\\FindWindow", L"Width"), 321u);
    EXPECT_EQ(RawDWord(kKey + L"\\FindWindow", L"Height"), 123u);
    EXPECT_EQ(RawDWord(kKey + L"\\Options", L"DoPaste"), 1u);
    EXPECT_EQ(RawDWord(kKey + L"\\Options", L"BufferSize"), 999u);
    EXPECT_EQ(RawDWord(kKey + L"\\Options", L"MaxClipboardCopySize"), 12u);
    EXPECT_TRUE(Reported().empty());
}

TEST_F(settingsApplicationRegistry, HistorySettingsReadTheRegistryEveryTime) {
    CRegistryHistorySettings oHistorySettings;
    WriteRawDWord(kKey + L"\\Options", L"BufferSize", 17);
    WriteRawDWord(kKey + L"\\Options", L"MaxClipboardCopySize", 2);
    EXPECT_EQ(oHistorySettings.GetBufferSize(), 17);
    EXPECT_EQ(oHistorySettings.GetMaxClipboardCopySize(), 2u);
    WriteRawDWord(kKey + L"\\Options", L"BufferSize", static_cast<DWORD>(-3));
    EXPECT_EQ(oHistorySettings.GetBufferSize(), -3);
}

TEST_F(settingsApplicationRegistry, MistypedSettingFallsBackToItsDefaultWithAMessage) {
    const wchar_t szText[] = L"ab";
    WriteRawValue(kKey + L"\\Options", L"BufferSize", REG_SZ, szText, sizeof(szText));
    CApplicationRegistry oSettings;
    EXPECT_EQ(oSettings.GetBufferSize(), 200);
    EXPECT_EQ(Reported(), std::vector<std::wstring>{SystemMessage(ERROR_MORE_DATA)});
}

TEST_F(settingsApplicationRegistry, ResetClipboardTimerIsAtLeastTenSeconds) {
    const struct {
        DWORD nStored;
        uint32_t nRead;
    } aCases[] = {{5000, 10000},  {static_cast<DWORD>(-1), 10000}, {0, 10000}, {10000, 10000},
                  {30000, 30000}, {0x7FFFFFFF, 0x7FFFFFFF}};
    for (const auto& oCase : aCases) {
        SCOPED_TRACE(testing::Message() << "stored " << static_cast<int32_t>(oCase.nStored));
        WriteRawDWord(kKey + L"\\Options", L"ResetClipboardTimer", oCase.nStored);
        EXPECT_EQ(CApplicationRegistry().GetResetClipboardTimer(), oCase.nRead);
    }
}

TEST_F(settingsApplicationRegistry, HotkeyBindingsLiveUnderTheirDecimalMessageNumber) {
    CApplicationRegistry oSettings;
    // The eight defaults apply while nothing is stored.
    EXPECT_EQ(oSettings.GetHotkey(0x0401), 0x00030041u);
    EXPECT_EQ(oSettings.GetHotkey(0x0402), 0x00030030u);
    EXPECT_EQ(oSettings.GetHotkey(0x0465), 0x00030039u);
    EXPECT_EQ(oSettings.GetHotkey(0x0468), 0x0003006Au);
    EXPECT_EQ(oSettings.GetHotkey(0x0469), 0x0003006Du);
    EXPECT_EQ(oSettings.GetHotkey(0x046A), 0x0003006Bu);
    EXPECT_EQ(oSettings.GetHotkey(0x0477), 0x00030033u);
    EXPECT_EQ(oSettings.GetHotkey(0x0478), 0x00030036u);
    EXPECT_EQ(oSettings.GetHotkey(0x0479), 0u);
    EXPECT_EQ(oSettings.GetHotkey(0x04C9), 0u);
    EXPECT_EQ(oSettings.GetHotkey(0x07EB), 0u);

    // A stored 0 wins over the default.
    oSettings.SetHotkey(0x0401, 0);
    EXPECT_EQ(RawDWord(kKey + L"\\Hotkeys", L"1025"), 0u);
    EXPECT_EQ(oSettings.GetHotkey(0x0401), 0u);

    oSettings.SetHotkey(0x0479, 0x00050054);
    EXPECT_EQ(RawDWord(kKey + L"\\Hotkeys", L"1145"), 0x00050054u);
    EXPECT_EQ(CApplicationRegistry().GetHotkey(0x0479), 0x00050054u);
    EXPECT_TRUE(Reported().empty());
}

TEST_F(settingsApplicationRegistry, StartWithWindowsIsTheQuotedPathOfTheRunningProgram) {
    wchar_t szPath[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, szPath, MAX_PATH), 0u);
    const std::wstring strExpected = L"\"" + std::wstring(szPath) + L"\"";

    CApplicationRegistry oSettings;
    oSettings.SetStartWithWindows(true);
    EXPECT_TRUE(oSettings.IsStartWithWindows());
    const auto oRaw = ReadRawValue(kTestRunKey, L"Korvex");
    ASSERT_TRUE(oRaw.has_value());
    EXPECT_EQ(oRaw->nType, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(oRaw->vecData.size(), (strExpected.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(oRaw->vecData.data())), strExpected);

    oSettings.SetStartWithWindows(false);
    EXPECT_FALSE(ReadRawValue(kTestRunKey, L"Korvex").has_value());
    EXPECT_FALSE(oSettings.IsStartWithWindows());
    // Off twice is no error.
    oSettings.SetStartWithWindows(false);
    EXPECT_FALSE(oSettings.IsStartWithWindows());
}

// Removes a value of the Run key when the test ends, however it ends.
class RunValueGuard {
public:
    explicit RunValueGuard(std::wstring strName) : m_strName(std::move(strName)) {}
    ~RunValueGuard() {
        HKEY hRun = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestRunKey, 0, KEY_SET_VALUE, &hRun) ==
            ERROR_SUCCESS) {
            RegDeleteValueW(hRun, m_strName.c_str());
            RegCloseKey(hRun);
        }
    }
    RunValueGuard(const RunValueGuard&) = delete;
    RunValueGuard& operator=(const RunValueGuard&) = delete;

private:
    std::wstring m_strName;
};

TEST_F(settingsApplicationRegistry, StartWithWindowsFindsTheNameInAnyCaseBehindLongNames) {
    // A foreign value with a name longer than any fixed name buffer, entered first.
    const std::wstring strLongName(3000, L'x');
    RunValueGuard oRemoveLong(strLongName);
    const wchar_t szData[] = L"other";
    WriteRawValue(kTestRunKey, strLongName.c_str(), REG_SZ, szData, sizeof(szData));
    WriteRawValue(kTestRunKey, L"KORVEX", REG_SZ, szData, sizeof(szData));

    EXPECT_TRUE(CApplicationRegistry().IsStartWithWindows());

    // Deleting "Korvex" removes the value whatever the case of its name.
    CApplicationRegistry().SetStartWithWindows(false);
    EXPECT_FALSE(CApplicationRegistry().IsStartWithWindows());
    EXPECT_TRUE(ReadRawValue(kTestRunKey, strLongName.c_str()).has_value());
}

} // namespace
