// The settings value on the real registry: the defaults of a first run, where each setter stores
// its value, hand edits that count from the next load, a bad value reported once per load, the
// clamped timer. (The "Start with Windows" value: the options scenario.)

#include "RegistryFixture.h"

#include "app/HotkeyCommands.h"
#include "settings/KorvexSettings.h"

#include <algorithm>
#include <utility>

namespace {

class settingsKorvexSettings : public RegistryTest {
protected:
    // Every setting as a number, in the order of the declarations; 7 is the hotkeys' default.
    static std::vector<int64_t> Values(CKorvexSettings& o) {
        const WINDOW_PLACEMENT_VALUES& p = o.GetMainWindowPlacement();
        const SIZE s = o.GetSmallWindowSize();
        std::vector<int64_t> v = {o.IsFirstRun(), p.nLeft, p.nTop, p.nWidth, p.nHeight};
        v.insert(v.end(), {o.IsDockingEnabled(), s.cx, s.cy, o.IsDoPaste(), o.IsOpenAtCaret()});
        v.push_back(o.GetBufferSize());
        v.insert(v.end(), {o.GetMaxClipboardCopySize(), o.GetResetClipboardTimer()});
        v.push_back(static_cast<int64_t>(o.GetKeepHistory()));
        v.insert(v.end(), {o.GetHotkey(0x0401, 7), o.GetHotkey(0x0479, 7)});
        return v;
    }
    static void Store(const std::wstring& strSubkey, const wchar_t* pszName, DWORD nValue) {
        ASSERT_TRUE(
            WriteRegistryDWord(HKEY_CURRENT_USER, kProgramKey + strSubkey, pszName, nValue));
    }
};

const std::vector<int64_t> kDefaults = {1, 0, 0, 360, 550, 1, 0, 0, 0, 0, 200, 5, 10000, 0, 7, 7};

TEST_F(settingsKorvexSettings, FirstRunGivesEveryDefaultBeforeAndAfterALoad) {
    CKorvexSettings oSettings;
    EXPECT_EQ(Values(oSettings), kDefaults);
    oSettings.Load();
    EXPECT_EQ(Values(oSettings), kDefaults);
    EXPECT_FALSE(CKorvexSettings::IsStartWithWindows());
    EXPECT_TRUE(Reported().empty());
}

TEST_F(settingsKorvexSettings, EverySetterStoresUnderItsNameAndKeepsTheValue) {
    CKorvexSettings oSettings;
    oSettings.SetFirstRunDone();
    oSettings.SetMainWindowPlacement({-1280, -20, 640, 480});
    oSettings.SetDockingEnabled(false);
    oSettings.SetSmallWindowSize({500, 300});
    CKorvexSettings::StoreFindWindowSize({321, 123});
    oSettings.SetDoPaste(true);
    oSettings.SetOpenAtCaret(true);
    oSettings.SetBufferSize(999);
    oSettings.SetMaxClipboardCopySize(12);
    oSettings.SetKeepHistory(KeepMode::Bookmarked);
    oSettings.SetHotkey(0x0401, 0); // a stored 0 wins over the default
    oSettings.SetHotkey(0x0479, 0x00050054);
    const std::vector<int64_t> vecSet = {0, -1280, -20, 640, 480,   0, 500, 300,
                                         1, 1,     999, 12,  10000, 1, 0,   0x00050054};
    EXPECT_EQ(Values(oSettings), vecSet);
    oSettings.SetNeverRecordFrom(L"Vault.exe; " + std::wstring(3000, L'x')); // cut to 2,048
    CKorvexSettings oLoaded(GetHotkeyDescriptions());
    oLoaded.Load();
    EXPECT_EQ(Values(oLoaded), vecSet);
    EXPECT_EQ(oLoaded.GetNeverRecordFrom(), L"Vault.exe; " + std::wstring(2037, L'x'));

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
                   {L"\\Options", L"OpenAtCaret", 1},
                   {L"\\Options", L"BufferSize", 999},
                   {L"\\Options", L"MaxClipboardCopySize", 12},
                   {L"\\Options", L"KeepHistory", 1},
                   {L"\\Hotkeys", L"1025", 0},
                   {L"\\Hotkeys", L"1145", 0x00050054}};
    for (const auto& c : aStored) {
        EXPECT_EQ(ReadRegistryDWord(HKEY_CURRENT_USER, kProgramKey + c.pszSubkey, c.pszName),
                  static_cast<DWORD>(c.nValue))
            << std::wstring(c.pszSubkey) << L"\\" << c.pszName;
    }
    EXPECT_TRUE(Reported().empty());
}

TEST_F(settingsKorvexSettings, HandEditsCountFromTheNextLoadAndABadValueIsReportedOncePerLoad) {
    CKorvexSettings oSettings;
    oSettings.Load();
    Store(L"\\Options", L"BufferSize", static_cast<DWORD>(-3)); // kept: the history reads it as 0
    Store(L"\\Options", L"MaxClipboardCopySize", 2);
    Store(L"\\SmallWindow", L"Width", 415); // the default size stands for none stored
    Store(L"\\Options", L"KeepHistory", 3); // no such choice: nothing is kept
    ASSERT_TRUE(WriteRegistryValue(HKEY_CURRENT_USER, kProgramKey + L"\\Options", L"DoPaste",
                                   REG_SZ, L"ab", 6));
    EXPECT_EQ(Values(oSettings), kDefaults);
    for (size_t nLoads = 1; nLoads <= 2; ++nLoads) {
        oSettings.Load();
        EXPECT_EQ(oSettings.GetBufferSize(), -3);
        EXPECT_EQ(oSettings.GetMaxClipboardCopySize(), 2u);
        EXPECT_EQ(oSettings.GetSmallWindowSize().cx, 0);
        EXPECT_FALSE(oSettings.IsDoPaste());
        EXPECT_EQ(oSettings.GetKeepHistory(), KeepMode::Nothing);
        EXPECT_EQ(Reported(), std::vector<std::wstring>(nLoads, SystemMessage(ERROR_MORE_DATA)));
    }
    Store(L"\\SmallWindow", L"Height", 200);
    oSettings.Load();
    EXPECT_EQ(oSettings.GetSmallWindowSize().cx, 415);
    EXPECT_EQ(oSettings.GetSmallWindowSize().cy, 200);

    const std::pair<DWORD, uint32_t> aTimers[] = {
        {5000, 10000}, {static_cast<DWORD>(-1), 10000}, {0, 10000}, {30000, 30000}};
    for (const auto& [nStored, nRead] : aTimers) {
        Store(L"\\Options", L"ResetClipboardTimer", nStored);
        oSettings.Load();
        EXPECT_EQ(oSettings.GetResetClipboardTimer(), nRead) << "stored " << nStored;
    }
}

// A load asked for under the message box of a load (the options' notice can be posted by any
// program) follows that load instead of opening a second box over the first.
CKorvexSettings* g_pReloading = nullptr;
int g_nReportDepth = 0;
int g_nDeepestReport = 0;

TEST_F(settingsKorvexSettings, ALoadAskedForDuringALoadFollowsIt) {
    ASSERT_TRUE(
        WriteRegistryValue(HKEY_CURRENT_USER, kProgramKey, L"FirstRun", REG_BINARY, "\1", 1));
    CKorvexSettings oSettings;
    g_pReloading = &oSettings;
    const RegistryErrorReporter pPrevious = SetRegistryErrorReporter([](const std::wstring& s) {
        Reported().push_back(s);
        g_nDeepestReport = std::max(g_nDeepestReport, ++g_nReportDepth);
        if (CKorvexSettings* pSettings = std::exchange(g_pReloading, nullptr)) {
            pSettings->Load(); // as the options' notice, handled inside the box
        }
        --g_nReportDepth;
    });
    oSettings.Load();
    SetRegistryErrorReporter(pPrevious);
    EXPECT_EQ(g_nDeepestReport, 1);
    EXPECT_EQ(Reported().size(), 2u); // the load, and the one that followed it
}

} // namespace
