// The application settings on the real registry: the defaults of a first run, where each setter
// stores its value, the clamped timer, hotkey bindings and the "Start with Windows" switch.

#include "RegistryFixture.h"

#include "settings/ApplicationRegistry.h"
#include "settings/RegistryHistorySettings.h"

#include <array>

namespace {

class settingsApplicationRegistry : public RegistryTest {};

// The four numbers of the main window's placement, or of the small window's size (last two).
std::array<int32_t, 4> Placement(CApplicationRegistry& oSettings, bool bSmall = false) {
    std::array<int32_t, 4> a = {-7, -7, -7, -7};
    if (bSmall) {
        oSettings.GetSmallWindowSize(a[2], a[3]);
    } else {
        oSettings.GetMainWindowPlacement(a[0], a[1], a[2], a[3]);
    }
    return a;
}

using Numbers = std::array<int32_t, 4>;

TEST_F(settingsApplicationRegistry, FirstRunGivesEveryDefault) {
    CApplicationRegistry oSettings;
    EXPECT_EQ(Placement(oSettings), (Numbers{0, 0, 360, 550}));
    EXPECT_EQ(Placement(oSettings, true), (Numbers{-7, -7, 415, 250}));
    EXPECT_EQ(oSettings.GetFirstRun(), 1u);
    EXPECT_EQ(oSettings.GetDockingEnabled(), 1u);
    EXPECT_EQ(oSettings.GetDoPaste(), 0u);
    EXPECT_EQ(oSettings.GetBufferSize(), 200);
    EXPECT_EQ(oSettings.GetMaxClipboardCopySize(), 5u);
    EXPECT_EQ(oSettings.GetResetClipboardTimer(), 10000u);
    EXPECT_FALSE(oSettings.IsStartWithWindows());
    EXPECT_EQ(CRegistryHistorySettings().GetMaxClipboardCopySize(), 5u);
    EXPECT_TRUE(Reported().empty());
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
        oSettings.SetHotkey(0x0401, 0); // a stored 0 wins over the default
        oSettings.SetHotkey(0x0479, 0x00050054);
    }
    CApplicationRegistry oSettings;
    EXPECT_EQ(Placement(oSettings), (Numbers{-1280, -20, 640, 480}));
    EXPECT_EQ(Placement(oSettings, true), (Numbers{-7, -7, 500, 300}));
    EXPECT_EQ(oSettings.GetFirstRun(), 0u);
    EXPECT_EQ(oSettings.GetDockingEnabled(), 0u);
    EXPECT_EQ(oSettings.GetDoPaste(), 1u);
    EXPECT_EQ(oSettings.GetBufferSize(), 999);
    EXPECT_EQ(oSettings.GetMaxClipboardCopySize(), 12u);

    // The names other programs and the user see in the registry.
    const struct {
        const wchar_t* pszSubkey;
        const wchar_t* pszName;
        int32_t nValue;
    } aStored[] = {{L"", L"FirstRun", 0},
                   {L"\\MainWindow", L"Left", -1280},
                   {L"\\MainWindow", L"Top", -20},
                   {L"\\MainWindow", L"Width", 640},
                   {L"\\MainWindow", L"Height", 480},
                   {L"\\MainWindow", L"DockingEnabled", 0},
                   {L"\\SmallWindow", L"Width", 500},
                   {L"\\SmallWindow", L"Height", 300},
                   {L"\\FindWindow", L"Width", 321},
                   {L"\\FindWindow", L"Height", 123},
                   {L"\\Options", L"DoPaste", 1},
                   {L"\\Options", L"BufferSize", 999},
                   {L"\\Options", L"MaxClipboardCopySize", 12},
                   {L"\\Hotkeys", L"1025", 0},
                   {L"\\Hotkeys", L"1145", 0x00050054}};
    for (const auto& c : aStored) {
        EXPECT_EQ(ReadRegistryDWord(HKEY_CURRENT_USER, kProgramKey + c.pszSubkey, c.pszName),
                  static_cast<DWORD>(c.nValue))
            << std::wstring(c.pszSubkey) << L"\\" << c.pszName;
    }
    EXPECT_TRUE(Reported().empty());
}

// (A mistyped value: the registry store's tests.)
TEST_F(settingsApplicationRegistry, HistorySettingsAreReadEveryTime) {
    CRegistryHistorySettings oHistorySettings;
    EXPECT_EQ(oHistorySettings.GetBufferSize(), 200);
    const std::wstring strOptions = kProgramKey + L"\\Options";
    WriteRegistryDWord(HKEY_CURRENT_USER, strOptions, L"BufferSize", static_cast<DWORD>(-3));
    WriteRegistryDWord(HKEY_CURRENT_USER, strOptions, L"MaxClipboardCopySize", 2);
    EXPECT_EQ(oHistorySettings.GetBufferSize(), -3);
    EXPECT_EQ(oHistorySettings.GetMaxClipboardCopySize(), 2u);
}

TEST_F(settingsApplicationRegistry, ResetClipboardTimerIsAtLeastTenSeconds) {
    const std::pair<DWORD, uint32_t> aCases[] = {
        {5000, 10000}, {static_cast<DWORD>(-1), 10000}, {0, 10000}, {30000, 30000}};
    for (const auto& [nStored, nRead] : aCases) {
        WriteRegistryDWord(HKEY_CURRENT_USER, kProgramKey + L"\\Options", L"ResetClipboardTimer",
                           nStored);
        EXPECT_EQ(CApplicationRegistry().GetResetClipboardTimer(), nRead) << "stored " << nStored;
    }
}

TEST_F(settingsApplicationRegistry, StartWithWindowsIsTheQuotedPathOfTheRunningProgram) {
    wchar_t szPath[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, szPath, MAX_PATH), 0u);
    const std::wstring strExpected = L"\"" + std::wstring(szPath) + L"\"";
    CApplicationRegistry oSettings;
    oSettings.SetStartWithWindows(true);
    EXPECT_TRUE(oSettings.IsStartWithWindows());
    const auto oRaw = ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, L"Korvex");
    ASSERT_TRUE(oRaw.has_value());
    EXPECT_EQ(oRaw->nType, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(oRaw->vecData.size(), (strExpected.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(oRaw->vecData.data())), strExpected);
    oSettings.SetStartWithWindows(false);
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, L"Korvex").has_value());
    EXPECT_FALSE(oSettings.IsStartWithWindows());
}

} // namespace
