// The hotkey table of zendel.dll, used through the library's import as Korvex uses it.

#include "AllocationCounter.h"

#include "hotkeys/KeyboardAccelerator.h"
#include "tests/support/win/Keyboard.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/HandlerWindow.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using wintest::CHeldKeys;
using wintest::CRecordingWindow;
using MESSAGES = std::vector<UINT>;

namespace {

constexpr uint32_t CTRL_ALT_A = 0x00030041;

// Shaped like a Korvex window: the shortcut target is not its first base, so calling a bound
// operation must reach the right object.
struct CWindowState {
    virtual ~CWindowState() = default;
    int m_nPadding[4] = {1, 2, 3, 4};
};

// Which window ran which operation, in order.
std::vector<std::pair<const void*, char>> g_vecCalls;

class CShortcutWindow : public CWindowState, public CShortcutTarget {
public:
    void OnSelectAll() { g_vecCalls.push_back({this, 'A'}); }
    void OnRename() { g_vecCalls.push_back({this, 'R'}); }
};

} // namespace

TEST(KeyboardAccelerator, MakeHotkeyConfigurationPacksNormalisesAndTakesAnyNonZeroAsHeld) {
    const struct {
        int nCtrl, nAlt, nShift;
        uint16_t nKey;
        uint32_t nExpected;
    } aCases[] = {
        {0x80, 5, 0, 'A', 0x00030041},      {-1, 0, 0x8000, 'A', 0x00050041}, // non-zero is held
        {1, 1, 1, 0xFFFF, 0x0007FFFF},      {1, 1, 0, VK_NUMPAD0, 0x00030030},
        {1, 1, 0, VK_NUMPAD9, 0x00030039},                                      // keypad digits
        {0, 0, 0, VK_SEPARATOR, VK_RETURN},                                     // are main keys
        {0, 0, 1, 0x5F, 0x0004005F},        {0, 0, 1, VK_MULTIPLY, 0x0004006A}, // the rest of the
        {0, 0, 1, VK_DIVIDE, 0x0004006F},                                       // keypad stays
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(c.nCtrl, c.nAlt, c.nShift, c.nKey),
                  c.nExpected)
            << std::hex << c.nCtrl << " " << c.nAlt << " " << c.nShift << " key " << c.nKey;
    }
}

TEST(KeyboardAccelerator, MessageTableReplacesOnAddAndGivesZeroForAbsentLookups) {
    CKeyboardAccelerator oAccelerator;
    EXPECT_EQ(oAccelerator.GetMessageID(CTRL_ALT_A), 0u);
    EXPECT_EQ(oAccelerator.ContainsMessageID(CTRL_ALT_A), 0);
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x402); // replaces
    EXPECT_EQ(oAccelerator.GetMessageID(CTRL_ALT_A), 0x402u);
    EXPECT_EQ(oAccelerator.ContainsMessageID(CTRL_ALT_A | HOTKEY_SHIFT), 0); // exact match only
    // The five-argument form normalises the keypad like every other key-code operation.
    oAccelerator.AddHotkeyMessageID(1, 1, 0, VK_NUMPAD5, 0x470);
    EXPECT_EQ(oAccelerator.GetMessageID(0x00030035), 0x470u);
    EXPECT_EQ(oAccelerator.GetMessageID(0x00030065), 0u);
    oAccelerator.RemoveHotkeyMessageID(0x00040073); // absent: nothing changes
    oAccelerator.RemoveHotkeyMessageID(CTRL_ALT_A);
    EXPECT_EQ(oAccelerator.ContainsMessageID(CTRL_ALT_A), 0);
    EXPECT_EQ(oAccelerator.GetMessageID(0x00030035), 0x470u);

    // Configuration 0 is ignored by the configuration form only.
    oAccelerator.AddHotkeyMessageID(0, 0x401);
    EXPECT_EQ(oAccelerator.ContainsMessageID(0), 0);
    oAccelerator.AddHotkeyMessageID(0, 0, 0, 0, 0x401);
    EXPECT_EQ(oAccelerator.GetMessageID(0), 0x401u);

    // Copies and the shared instance keep their own tables.
    CKeyboardAccelerator oCopy(oAccelerator);
    oAccelerator.RemoveHotkeyMessageID(0x00030035);
    EXPECT_EQ(oCopy.GetMessageID(0x00030035), 0x470u);
    EXPECT_EQ(gl_oKeyboardAccelerator.ContainsMessageID(0x00030035), 0);
}

TEST(KeyboardAccelerator, PostAndSendDeliverTheBoundMessageWithZeroParameters) {
    CRecordingWindow oWindow;
    CKeyboardAccelerator oAccelerator;
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    oAccelerator.AddHotkeyMessageID(VK_F2, 0x4C9);

    EXPECT_EQ(oAccelerator.SendMessageIDConfiguration(oWindow.Handle(), VK_F2), 1);
    EXPECT_EQ(oWindow.MessageIds(), MESSAGES{0x4C9}); // sent: handled before the call returns
    EXPECT_EQ(oAccelerator.PostMessageIDConfiguration(oWindow.Handle(), CTRL_ALT_A), 1);
    EXPECT_EQ(oAccelerator.SendMessageIDConfiguration(oWindow.Handle(), VK_F3), 0); // unbound
    EXPECT_EQ(oAccelerator.PostMessageIDConfiguration(oWindow.Handle(), VK_F3), 0);
    EXPECT_EQ(oWindow.MessageIds(), MESSAGES{0x4C9}); // posted: still queued
    wintest::PumpPending();
    EXPECT_EQ(oWindow.MessageIds(), (MESSAGES{0x4C9, 0x401}));
    for (const auto& oMessage : oWindow.Messages()) {
        EXPECT_EQ(oMessage.wParam, 0u);
        EXPECT_EQ(oMessage.lParam, 0);
    }
    // A window that is gone: the binding is still reported.
    HWND hGone =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(hGone);
    EXPECT_EQ(oAccelerator.PostMessageIDConfiguration(hGone, CTRL_ALT_A), 1);
    EXPECT_EQ(oAccelerator.SendMessageIDConfiguration(hGone, CTRL_ALT_A), 1);
}

TEST(KeyboardAccelerator, KeyFormsAndShortcutsUseTheModifiersOfTheMessageBeingHandled) {
    CRecordingWindow oWindow;
    CShortcutWindow oFirst, oSecond;
    CKeyboardAccelerator oAccelerator;
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    oAccelerator.AddHotkeyMessageID('A', 0x402);
    oAccelerator.AddHotkeyFunction(1, 0, 0, 'A',
                                   static_cast<HOTKEY_FUNCTION>(&CShortcutWindow::OnSelectAll));
    oAccelerator.AddHotkeyFunction(0, 0, 0, VK_F2,
                                   static_cast<HOTKEY_FUNCTION>(&CShortcutWindow::OnRename));
    g_vecCalls.clear();
    {
        CHeldKeys oHeld{VK_CONTROL, VK_MENU};
        EXPECT_EQ(CKeyboardAccelerator::GetCurrentConfiguration(VK_NUMPAD6), 0x00030036u);
        EXPECT_EQ(oAccelerator.SendMessageID(oWindow.Handle(), 'A'), 1);
        EXPECT_EQ(oAccelerator.PostMessageID(oWindow.Handle(), 'B'), 0);
        EXPECT_EQ(oAccelerator.CallFunction(&oFirst, 'A'), 0); // Ctrl+Alt+A is no shortcut
    }
    {
        CHeldKeys oHeld{VK_CONTROL};
        EXPECT_EQ(oAccelerator.SendMessageID(oWindow.Handle(), 'A'), 0);
        EXPECT_EQ(oAccelerator.CallFunction(&oFirst, 'A'), 1);
        EXPECT_EQ(oAccelerator.CallFunction(&oSecond, 'A'), 1);
        EXPECT_EQ(oAccelerator.CallFunction(&oFirst, VK_F2), 0); // F2 is bound, not Ctrl+F2
    }
    {
        CHeldKeys oHeld{};
        EXPECT_EQ(oAccelerator.SendMessageID(oWindow.Handle(), 'A'), 1);
        EXPECT_EQ(oAccelerator.CallFunction(&oSecond, VK_F2), 1);
        oAccelerator.RemoveHotkeyFunction(VK_F2);
        EXPECT_EQ(oAccelerator.CallFunction(&oSecond, VK_F2), 0);
    }
    EXPECT_EQ(oWindow.MessageIds(), (MESSAGES{0x401, 0x402}));
    const std::vector<std::pair<const void*, char>> vecExpected = {
        {&oFirst, 'A'}, {&oSecond, 'A'}, {&oSecond, 'R'}};
    EXPECT_EQ(g_vecCalls, vecExpected);
}

// The hook looks up every key press on the desktop: building the configuration and the lookup
// must not touch the heap.
TEST(KeyboardAccelerator, LookupOfAKeyPressDoesNotAllocate) {
    CKeyboardAccelerator oAccelerator;
    CAllocationCounter oCounter(GetModuleHandleW(L"zendel.dll"));
    ASSERT_GT(oCounter.PatchedImports(), 0);
    // The counter sees the library's allocations: a new binding allocates a table node.
    for (uint16_t nKey = 0x70; nKey < 0x70 + 24; ++nKey) {
        oAccelerator.AddHotkeyMessageID(0x00030000u | nKey, 0x465);
    }
    ASSERT_GT(oCounter.Allocations(), 0);

    oCounter.Reset();
    int nFound = 0;
    for (uint16_t nKey = 0; nKey < 1000; ++nKey) {
        nFound += oAccelerator.ContainsMessageID(CKeyboardAccelerator::GetLiveConfiguration(nKey));
        nFound +=
            oAccelerator.ContainsMessageID(CKeyboardAccelerator::GetCurrentConfiguration(nKey));
        nFound += oAccelerator.GetMessageID(0x00030000u | nKey) != 0 ? 1 : 0;
    }
    EXPECT_EQ(oCounter.Allocations(), 0);
    EXPECT_EQ(nFound, 24); // the Ctrl+Alt lookups only: no modifier is held
}
