// zendel.dll's keyboard hook on a real (virtual) desktop. This program imports the library, so
// the hook was installed on its main thread when it started; every test pumps that thread's
// messages while it waits. Keys are injected with SendInput from a worker thread.

#include "HookProbe.h"
#include "KeyInjector.h"
#include "MainWindowStandIn.h"
#include "MessagePump.h"
#include "TargetProcess.h"

#include "hotkeys/KeyboardAccelerator.h"
#include "hotkeys/KorvexMainWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t CTRL_ALT_A = HOTKEY_CTRL | HOTKEY_ALT | 'A';
constexpr uint32_t CTRL_ALT_6 = HOTKEY_CTRL | HOTKEY_ALT | '6';
constexpr uint32_t ALT_C = HOTKEY_ALT | 'C';
constexpr uint32_t ALT_SHIFT_C = HOTKEY_ALT | HOTKEY_SHIFT | 'C';

const std::vector<KEY_STROKE> g_vecCtrlAltA = {KeyDown(VK_CONTROL), KeyDown(VK_MENU),
                                               KeyDown('A'),        KeyUp('A'),
                                               KeyUp(VK_MENU),      KeyUp(VK_CONTROL)};

using MESSAGES = std::vector<UINT>;

class KeyboardHook : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_oProbe.IsInstalled());
        // Korvex fills the library's own table through the import; the hook reads the same one.
        gl_oKeyboardAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
        gl_oKeyboardAccelerator.AddHotkeyMessageID(CTRL_ALT_6, 0x478);
        gl_oKeyboardAccelerator.AddHotkeyMessageID(ALT_C, 0x465);
        gl_oKeyboardAccelerator.AddHotkeyMessageID(ALT_SHIFT_C, 0x466);
    }

    void TearDown() override {
        // No key may stay down for the next test or the next program.
        Type({KeyUp('A'), KeyUp('C'), KeyUp(VK_NUMPAD6), KeyUp(VK_SHIFT), KeyUp(VK_MENU),
              KeyUp(VK_CONTROL)});
        for (const uint32_t nConfiguration : {CTRL_ALT_A, CTRL_ALT_6, ALT_C, ALT_SHIFT_C}) {
            gl_oKeyboardAccelerator.RemoveHotkeyMessageID(nConfiguration);
        }
    }

    // Injects the strokes, waits until the hook chain has handled every one of them, then
    // dispatches what the library posted for them.
    void Type(const std::vector<KEY_STROKE>& vecStrokes) {
        m_oProbe.Clear();
        ASSERT_EQ(InjectKeys(vecStrokes), vecStrokes.size());
        ASSERT_TRUE(m_oProbe.WaitForStrokes(vecStrokes, 5000));
        PumpPendingMessages();
    }

    int ProbeCount(DWORD nKey, WPARAM nMessage) const {
        int nCount = 0;
        for (const HOOK_EVENT& oEvent : m_oProbe.Events()) {
            nCount += oEvent.nKey == nKey && oEvent.nMessage == nMessage ? 1 : 0;
        }
        return nCount;
    }

    CHookProbe m_oProbe;
};

} // namespace

TEST_F(KeyboardHook, BoundCombinationPostsOnceToTheMainWindowAndKeyUpsNothing) {
    CMainWindowStandIn oMain(true);
    ASSERT_EQ(FindKorvexMainWindow(), oMain.Handle());

    ASSERT_NO_FATAL_FAILURE(Type(g_vecCtrlAltA));
    EXPECT_EQ(ProbeCount('A', WM_KEYDOWN), 1); // Ctrl+Alt+key is an ordinary key-down
    EXPECT_EQ(oMain.Messages(), MESSAGES{0x401});
    EXPECT_EQ(oMain.NonZeroParameters(), 0);

    // The bound key released on its own while Ctrl and Alt are still held.
    ASSERT_NO_FATAL_FAILURE(Type({KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyUp('A')}));
    EXPECT_EQ(oMain.Messages(), MESSAGES{0x401});
}

TEST_F(KeyboardHook, KeypadDigitTriggersTheDigitBinding) {
    CMainWindowStandIn oMain(true);
    ASSERT_NO_FATAL_FAILURE(Type({KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyDown(VK_NUMPAD6),
                                  KeyUp(VK_NUMPAD6), KeyUp(VK_MENU), KeyUp(VK_CONTROL)}));
    EXPECT_EQ(ProbeCount(VK_NUMPAD6, WM_KEYDOWN), 1);
    EXPECT_EQ(oMain.Messages(), MESSAGES{0x478});
}

TEST_F(KeyboardHook, EveryAutoRepeatedKeyDownPostsAgain) {
    CMainWindowStandIn oMain(true);
    ASSERT_NO_FATAL_FAILURE(Type({KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyDown('A'), KeyDown('A'),
                                  KeyDown('A'), KeyUp('A'), KeyUp(VK_MENU), KeyUp(VK_CONTROL)}));
    EXPECT_EQ(oMain.Messages(), (MESSAGES{0x401, 0x401, 0x401}));
}

TEST_F(KeyboardHook, AnExtraModifierIsAnotherCombination) {
    CMainWindowStandIn oMain(true);
    ASSERT_NO_FATAL_FAILURE(
        Type({KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyDown(VK_SHIFT), KeyDown('A'), KeyUp('A'),
              KeyUp(VK_SHIFT), KeyUp(VK_MENU), KeyUp(VK_CONTROL)}));
    EXPECT_EQ(oMain.Messages(), MESSAGES{});

    // Shift released, the same key press matches again.
    ASSERT_NO_FATAL_FAILURE(Type(g_vecCtrlAltA));
    EXPECT_EQ(oMain.Messages(), MESSAGES{0x401});
}

TEST_F(KeyboardHook, AltAndAltShiftBindingsArriveAsSystemKeysAndNeverFire) {
    CMainWindowStandIn oMain(true);
    ASSERT_NO_FATAL_FAILURE(Type({KeyDown(VK_MENU), KeyDown('C'), KeyUp('C'), KeyDown(VK_SHIFT),
                                  KeyDown('C'), KeyUp('C'), KeyUp(VK_SHIFT), KeyUp(VK_MENU)}));
    EXPECT_EQ(ProbeCount('C', WM_SYSKEYDOWN), 2);
    EXPECT_EQ(oMain.Messages(), MESSAGES{});
}

TEST_F(KeyboardHook, WindowWithTheTitleButWithoutTheMarkerIsSkipped) {
    CMainWindowStandIn oMain(true);
    CMainWindowStandIn oDecoy(false); // created later, so it comes first in the window order
    ASSERT_EQ(FindWindowExW(nullptr, nullptr, nullptr, KORVEX_MAIN_WINDOW_TITLE), oDecoy.Handle());
    ASSERT_EQ(FindKorvexMainWindow(), oMain.Handle());

    ASSERT_NO_FATAL_FAILURE(Type(g_vecCtrlAltA));
    EXPECT_EQ(oDecoy.Messages(), MESSAGES{});
    EXPECT_EQ(oMain.Messages(), MESSAGES{0x401});
}

TEST_F(KeyboardHook, NothingIsPostedOnceTheMarkerIsGone) {
    CMainWindowStandIn oMain(true);
    CMainWindowStandIn oDecoy(false);
    oMain.RemoveMarker();
    ASSERT_EQ(FindKorvexMainWindow(), nullptr);

    ASSERT_NO_FATAL_FAILURE(Type(g_vecCtrlAltA));
    EXPECT_EQ(ProbeCount('A', WM_KEYDOWN), 1);
    EXPECT_EQ(oMain.Messages(), MESSAGES{});
    EXPECT_EQ(oDecoy.Messages(), MESSAGES{});
}

TEST_F(KeyboardHook, LiveConfigurationFollowsTheKeyboard) {
    ASSERT_NO_FATAL_FAILURE(Type({KeyDown(VK_CONTROL)}));
    EXPECT_EQ(CKeyboardAccelerator::GetLiveConfiguration('A'), HOTKEY_CTRL | 'A');
    ASSERT_NO_FATAL_FAILURE(Type({KeyDown(VK_SHIFT)}));
    EXPECT_EQ(CKeyboardAccelerator::GetLiveConfiguration(VK_NUMPAD1),
              HOTKEY_CTRL | HOTKEY_SHIFT | '1');
    ASSERT_NO_FATAL_FAILURE(Type({KeyUp(VK_CONTROL), KeyUp(VK_SHIFT), KeyDown(VK_MENU)}));
    EXPECT_EQ(CKeyboardAccelerator::GetLiveConfiguration(VK_SEPARATOR), HOTKEY_ALT | VK_RETURN);
    ASSERT_NO_FATAL_FAILURE(Type({KeyUp(VK_MENU)}));
    EXPECT_EQ(CKeyboardAccelerator::GetLiveConfiguration('A'), uint32_t{'A'});
}

TEST_F(KeyboardHook, TheProgramWithTheFocusStillGetsEveryKey) {
    CMainWindowStandIn oMain(true);
    CTargetProcess oTarget;
    ASSERT_TRUE(oTarget.Start(15000)) << oTarget.Output();

    ASSERT_NO_FATAL_FAILURE(Type({KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyDown('A'), KeyDown('A'),
                                  KeyUp('A'), KeyUp(VK_MENU), KeyUp(VK_CONTROL)}));
    // Ctrl's release is the last key: when it has arrived, so has everything before it.
    ASSERT_TRUE(oTarget.WaitForLine("up 11", 5000)) << oTarget.Output();
    EXPECT_EQ(oTarget.CountLines("down 41") + oTarget.CountLines("sysdown 41"), 2)
        << oTarget.Output();
    EXPECT_EQ(oTarget.CountLines("up 41") + oTarget.CountLines("sysup 41"), 1) << oTarget.Output();
    EXPECT_EQ(oMain.Messages(), (MESSAGES{0x401, 0x401}));
}

// The hook runs on Korvex's thread for keys on their way to other programs, so that thread's
// own idea of the modifiers (GetKeyState) is not what the user holds.
TEST_F(KeyboardHook, ModifiersAreReadFromTheKeyboardNotFromThisThreadsView) {
    CMainWindowStandIn oMain(true);
    BYTE aSaved[256];
    ASSERT_TRUE(GetKeyboardState(aSaved));
    BYTE aStale[256];
    std::copy(std::begin(aSaved), std::end(aSaved), aStale);
    aStale[VK_CONTROL] = aStale[VK_MENU] = 0x80;
    ASSERT_TRUE(SetKeyboardState(aStale));
    ASSERT_NE(GetKeyState(VK_CONTROL) & 0x8000, 0);

    ASSERT_NO_FATAL_FAILURE(Type({KeyDown('A'), KeyUp('A')}));
    SetKeyboardState(aSaved);
    EXPECT_EQ(oMain.Messages(), MESSAGES{});
}

// The hook exists exactly while the library is loaded. A second copy of the library, loaded and
// unloaded here, installs its own hook on this thread and must take it away again: a hook left
// behind in unloaded code would bring the process down at the next key press.
TEST_F(KeyboardHook, TheHookGoesWithTheLibrary) {
    wchar_t szLibrary[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(GetModuleHandleW(L"zendel.dll"), szLibrary, MAX_PATH), 0u);
    wchar_t szTemp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, szTemp), 0u);
    const std::wstring strCopy =
        std::wstring(szTemp) + L"zendelcopy-" + std::to_wstring(GetCurrentProcessId()) + L".dll";
    ASSERT_TRUE(CopyFileW(szLibrary, strCopy.c_str(), FALSE));
    struct CLEANUP {
        const std::wstring& strFile;
        ~CLEANUP() { DeleteFileW(strFile.c_str()); }
    } oCleanup{strCopy};

    CMainWindowStandIn oMain(true);
    const HMODULE hCopy = LoadLibraryW(strCopy.c_str());
    ASSERT_NE(hCopy, nullptr);
    ASSERT_NE(hCopy, GetModuleHandleW(L"zendel.dll"));
    // The copy's own table; the imported code works on any instance.
    auto* pCopyTable =
        reinterpret_cast<CKeyboardAccelerator*>(GetProcAddress(hCopy, "gl_oKeyboardAccelerator"));
    ASSERT_NE(pCopyTable, nullptr);
    ASSERT_NE(pCopyTable, &gl_oKeyboardAccelerator);
    pCopyTable->AddHotkeyMessageID(CTRL_ALT_A, 0x4CA);

    ASSERT_NO_FATAL_FAILURE(Type(g_vecCtrlAltA));
    EXPECT_EQ(oMain.Messages(), (MESSAGES{0x4CA, 0x401})); // the newest hook runs first

    FreeLibrary(hCopy);
    ASSERT_EQ(GetModuleHandleW(strCopy.c_str()), nullptr);
    ASSERT_NO_FATAL_FAILURE(Type(g_vecCtrlAltA));
    EXPECT_EQ(oMain.Messages(), (MESSAGES{0x4CA, 0x401, 0x401}));
}
