// zendel.dll's keyboard hook on a real (virtual) desktop. This program imports the library, so
// the hook was installed on its main thread when it started; every wait pumps that thread's
// messages. Keys are injected with SendInput from a worker thread.

#include "hotkeys/KeyboardAccelerator.h"
#include "hotkeys/KorvexMainWindow.h"
#include "tests/support/win/ChildProcess.h"
#include "tests/support/win/Keyboard.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/HandlerWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace wintest;
using MESSAGES = std::vector<UINT>;

namespace {

constexpr uint32_t CTRL_ALT_A = HOTKEY_CTRL | HOTKEY_ALT | 'A';
constexpr uint32_t BINDINGS[][2] = {{CTRL_ALT_A, 0x401},
                                    {HOTKEY_CTRL | HOTKEY_ALT | '6', 0x478},
                                    {HOTKEY_ALT | 'C', 0x465},
                                    {HOTKEY_ALT | HOTKEY_SHIFT | 'C', 0x466}};

// A second low-level hook on this thread that records the keys it sees. Hooks of one thread run
// one after the other in the same chain, and the library's hook posts before it passes a key
// on: once the probe has seen a key, whatever the library posted for it is already queued.
std::vector<KeyStroke> g_vecSeen;
HHOOK g_hProbe = nullptr;

LRESULT CALLBACK ProbeProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const LRESULT nResult = CallNextHookEx(g_hProbe, nCode, wParam, lParam);
    if (nCode == HC_ACTION) {
        const auto nKey = static_cast<WORD>(reinterpret_cast<KBDLLHOOKSTRUCT*>(lParam)->vkCode);
        g_vecSeen.push_back({nKey, wParam == WM_KEYUP || wParam == WM_SYSKEYUP});
    }
    return nResult;
}

// Korvex's main window as other processes recognise it: a top-level window titled "Korvex"
// with the marker child; without the marker, another program's window of that title.
class CMainWindow : public CRecordingWindow {
public:
    explicit CMainWindow(bool bWithMarker) : CRecordingWindow(KORVEX_MAIN_WINDOW_TITLE, nullptr) {
        if (bWithMarker) {
            m_hMarker = CreateWindowExW(0, L"STATIC", KORVEX_MARKER_WINDOW_TITLE, WS_CHILD, 0, 0, 0,
                                        0, Handle(), nullptr, nullptr, nullptr);
        }
    }
    void RemoveMarker() { DestroyWindow(m_hMarker); } // as when Korvex's window is destroyed

private:
    HWND m_hMarker = nullptr;
};

class KeyboardHook : public testing::Test {
protected:
    void SetUp() override {
        g_hProbe = SetWindowsHookExW(WH_KEYBOARD_LL, &ProbeProc, GetModuleHandleW(nullptr), 0);
        ASSERT_NE(g_hProbe, nullptr);
        // Korvex fills the library's own table through the import; the hook reads the same one.
        for (const auto& aBinding : BINDINGS) {
            gl_oKeyboardAccelerator.AddHotkeyMessageID(aBinding[0], aBinding[1]);
        }
    }
    void TearDown() override {
        // No key may stay down for the next test or the next program.
        Type({KeyUp('A'), KeyUp('C'), KeyUp(VK_NUMPAD6), KeyUp(VK_SHIFT), KeyUp(VK_MENU),
              KeyUp(VK_CONTROL)});
        for (const auto& aBinding : BINDINGS) {
            gl_oKeyboardAccelerator.RemoveHotkeyMessageID(aBinding[0]);
        }
        UnhookWindowsHookEx(g_hProbe);
    }

    // Injects the strokes, waits until the hook chain has handled all of them in their order,
    // then dispatches what the library posted for them.
    void Type(const std::vector<KeyStroke>& vecStrokes) {
        g_vecSeen.clear();
        ASSERT_EQ(InjectKeys(vecStrokes), vecStrokes.size());
        ASSERT_TRUE(PumpUntil([&] {
            size_t nMatched = 0;
            for (const KeyStroke& oSeen : g_vecSeen) {
                nMatched += nMatched < vecStrokes.size() && oSeen == vecStrokes[nMatched] ? 1 : 0;
            }
            return nMatched == vecStrokes.size();
        }));
        PumpPending();
    }

    CMainWindow m_oMain{true};
};

// What the hook posts to the main window for a typed sequence.
struct TYPING {
    const char* pszName;
    std::vector<KeyStroke> vecStrokes;
    MESSAGES vecPosted;
};

const TYPING g_aTypings[] = {
    {"CtrlAltAPostsOnce", Chord({VK_CONTROL, VK_MENU, 'A'}), {0x401}},
    {"CtrlAltKeypad6PostsTheDigitsBinding", Chord({VK_CONTROL, VK_MENU, VK_NUMPAD6}), {0x478}},
    {"AutoRepeatPostsAgain",
     {KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyDown('A'), KeyDown('A'), KeyDown('A'), KeyUp('A'),
      KeyUp(VK_MENU), KeyUp(VK_CONTROL)},
     {0x401, 0x401, 0x401}},
    {"CtrlAltShiftAPostsNothing", Chord({VK_CONTROL, VK_MENU, VK_SHIFT, 'A'}), {}},
    {"ReleasesPostNothing", {KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyUp('A')}, {}},
    // Alt+key without Ctrl arrives as a system key-down, which is no hotkey.
    {"AltBindingsPostNothing",
     {KeyDown(VK_MENU), KeyDown('C'), KeyUp('C'), KeyDown(VK_SHIFT), KeyDown('C'), KeyUp('C'),
      KeyUp(VK_SHIFT), KeyUp(VK_MENU)},
     {}},
};

void PrintTo(const TYPING& oTyping, std::ostream* pStream) {
    *pStream << oTyping.pszName;
}

class Typing : public KeyboardHook, public testing::WithParamInterface<TYPING> {};

} // namespace

TEST_P(Typing, PostsOncePerBoundKeyDown) {
    ASSERT_EQ(FindKorvexMainWindow(), m_oMain.Handle());
    ASSERT_NO_FATAL_FAILURE(Type(GetParam().vecStrokes));
    EXPECT_EQ(m_oMain.MessageIds(), GetParam().vecPosted);
    for (const auto& oMessage : m_oMain.Messages()) {
        EXPECT_EQ(oMessage.wParam | oMessage.lParam, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(KeyboardHook, Typing, testing::ValuesIn(g_aTypings),
                         [](const auto& oInfo) { return std::string(oInfo.param.pszName); });

TEST_F(KeyboardHook, TitledWindowWithoutTheMarkerGetsNothing) {
    CMainWindow oDecoy(false); // created later, so it comes first in the window order
    ASSERT_EQ(FindWindowExW(nullptr, nullptr, nullptr, KORVEX_MAIN_WINDOW_TITLE), oDecoy.Handle());
    ASSERT_NO_FATAL_FAILURE(Type(Chord({VK_CONTROL, VK_MENU, 'A'})));
    EXPECT_EQ(m_oMain.MessageIds(), MESSAGES{0x401});
    // Once the marker is gone, nobody gets anything.
    m_oMain.RemoveMarker();
    ASSERT_NO_FATAL_FAILURE(Type(Chord({VK_CONTROL, VK_MENU, 'A'})));
    EXPECT_EQ(m_oMain.MessageIds(), MESSAGES{0x401});
    EXPECT_EQ(oDecoy.MessageIds(), MESSAGES{});
}

TEST_F(KeyboardHook, AnotherWineProgramWithTheFocusStillGetsEveryKey) {
    CChildProcess oTarget;
    ASSERT_TRUE(oTarget.Start(L"\"" + ProgramPath(L"hooktarget.exe") + L"\""));
    ASSERT_TRUE(oTarget.WaitForOutput("ready\n", 15000)) << oTarget.Output();
    ASSERT_NO_FATAL_FAILURE(Type({KeyDown(VK_CONTROL), KeyDown(VK_MENU), KeyDown('A'), KeyDown('A'),
                                  KeyUp('A'), KeyUp(VK_MENU), KeyUp(VK_CONTROL)}));
    // Ctrl's release is the last key: when it has arrived, so has everything before it.
    ASSERT_TRUE(oTarget.WaitForOutput("up 11\n", 5000)) << oTarget.Output();
    EXPECT_EQ(oTarget.CountLines("down 41") + oTarget.CountLines("sysdown 41"), 2);
    EXPECT_EQ(oTarget.CountLines("up 41") + oTarget.CountLines("sysup 41"), 1) << oTarget.Output();
    EXPECT_EQ(m_oMain.MessageIds(), (MESSAGES{0x401, 0x401}));
}

// The hook runs on Korvex's thread for keys on their way to other programs, so that thread's own
// view of the modifiers (GetKeyState) is not what the user holds.
TEST_F(KeyboardHook, ModifiersAreReadLiveFromTheKeyboard) {
    {
        CHeldKeys oStale{VK_CONTROL, VK_MENU};
        ASSERT_NE(GetKeyState(VK_CONTROL) & 0x8000, 0);
        ASSERT_NO_FATAL_FAILURE(Type(Chord({'A'})));
    }
    EXPECT_EQ(m_oMain.MessageIds(), MESSAGES{});
}

// The hook exists exactly while the library is loaded. A second copy of the library, loaded and
// unloaded here, installs its own hook on this thread and must take it away again: a hook left
// behind in unloaded code would bring the process down at the next key press.
TEST_F(KeyboardHook, TheHookGoesWithTheLibrary) {
    wchar_t szLibrary[MAX_PATH], szTemp[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(GetModuleHandleW(L"zendel.dll"), szLibrary, MAX_PATH), 0u);
    ASSERT_NE(GetTempPathW(MAX_PATH, szTemp), 0u);
    const std::wstring strCopy =
        szTemp + (L"zendelcopy-" + std::to_wstring(GetCurrentProcessId()) + L".dll");
    ASSERT_TRUE(CopyFileW(szLibrary, strCopy.c_str(), FALSE));
    const std::unique_ptr<const wchar_t, decltype(&DeleteFileW)> oRemoveCopy(strCopy.c_str(),
                                                                             &DeleteFileW);
    EXPECT_TRUE(IsKeyboardHookInstalled());
    EXPECT_EQ(GetKeyboardHookError(), 0u);
    const HMODULE hCopy = LoadLibraryW(strCopy.c_str());
    ASSERT_NE(hCopy, nullptr);
    ASSERT_NE(hCopy, GetModuleHandleW(L"zendel.dll"));
    // Each copy tells of its own hook.
    using HookQuery = bool (*)();
    const auto pfnCopyInstalled = reinterpret_cast<HookQuery>(
        reinterpret_cast<void*>(GetProcAddress(hCopy, "_Z23IsKeyboardHookInstalledv")));
    ASSERT_NE(pfnCopyInstalled, nullptr);
    EXPECT_TRUE(pfnCopyInstalled());
    // The copy's own table; the imported code works on any instance.
    auto* pCopyTable =
        reinterpret_cast<CKeyboardAccelerator*>(GetProcAddress(hCopy, "gl_oKeyboardAccelerator"));
    ASSERT_NE(pCopyTable, nullptr);
    pCopyTable->AddHotkeyMessageID(CTRL_ALT_A, 0x4CA);
    ASSERT_NO_FATAL_FAILURE(Type(Chord({VK_CONTROL, VK_MENU, 'A'})));
    EXPECT_EQ(m_oMain.MessageIds(), (MESSAGES{0x4CA, 0x401})); // the newest hook runs first

    FreeLibrary(hCopy);
    ASSERT_NO_FATAL_FAILURE(Type(Chord({VK_CONTROL, VK_MENU, 'A'})));
    EXPECT_EQ(m_oMain.MessageIds(), (MESSAGES{0x4CA, 0x401, 0x401}));
}
