// The options dialog and the hotkey editor, opened from the menus and used with the keyboard as
// a user would: what they show on a first run, hotkeys rebound at once and after a restart, the
// question before taking another command's hotkey, and the system options written on OK.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "Mouse.h"
#include "RemoteListView.h"
#include "Tray.h"
#include "tests/support/win/Keyboard.h"

namespace e2e {
namespace {

constexpr WORD ALT = VK_MENU;
constexpr int kRowShowMainWindow = 1;
constexpr int kRowShowClipWindow = 2;
constexpr int kRowRevertFirstItems = 8;
constexpr int kRowTitleFirstItem = 11;

class e2eOptions : public KorvexScenario {
protected:
    // Opens the dialog as the File menu's "&Options" does.
    HWND OpenOptions() {
        PostMessageW(m_korvex.MainWindow(), WM_COMMAND, kCmdFileOptions, 0);
        return WaitForDialog(m_korvex.ProcessId(), kOptionsTitle);
    }
    // Goes to the row of the hotkey list with the arrow keys and presses Enter.
    HWND OpenEditor(HWND hOptions, int nRow) {
        std::vector<std::vector<WORD>> vecKeys = {{VK_HOME}};
        vecKeys.insert(vecKeys.end(), static_cast<size_t>(nRow), {VK_DOWN});
        vecKeys.push_back({VK_RETURN});
        EXPECT_TRUE(TypeInto(hOptions, vecKeys));
        return WaitForDialog(m_korvex.ProcessId(), kHotkeyEditTitle);
    }
    static CRemoteListView List(HWND hOptions) {
        return CRemoteListView(GetDlgItem(hOptions, kIdHotkeyList));
    }
    static bool WaitUntilGone(HWND hDlg) {
        return PumpUntil([&] { return !IsWindow(hDlg); });
    }
    // Every message that Korvex's main window took before this one has been handled: the paste
    // option, switched by a posted message, reads nValue.
    bool HandledSoFar(DWORD nValue) {
        PostMessageW(m_korvex.MainWindow(), kMsgPasteActivatedItem, 0, 0);
        return PumpUntil([&] { return Setting(L"Options", L"DoPaste") == nValue; });
    }
    static std::optional<DWORD> Hotkey(const wchar_t* pszMessage) {
        return Setting(L"Hotkeys", pszMessage);
    }
};

TEST_F(e2eOptions, FirstRunShowsTheDefaultsAndOnlyOneDialogOpensFromEitherMenu) {
    ASSERT_TRUE(StartKorvex());
    const DWORD nProcess = m_korvex.ProcessId();
    // The tray menu's "&Options", chosen with its mnemonic.
    const HWND hMenu = OpenTrayMenu(nProcess);
    ASSERT_NE(nullptr, hMenu);
    ASSERT_EQ(2u, wintest::InjectKeys(wintest::Chord({'O'})));
    const HWND hOptions = WaitForDialog(nProcess, kOptionsTitle);
    ASSERT_NE(nullptr, hOptions);

    EXPECT_EQ(L"200", ControlText(hOptions, kIdItemsCount));
    EXPECT_EQ(L"5", ControlText(hOptions, kIdMaxCopySize));
    EXPECT_FALSE(IsTicked(hOptions, kIdPasteActivated));
    EXPECT_TRUE(IsTicked(hOptions, kIdStartWithWindows));
    const std::vector<std::wstring> vecNames = List(hOptions).Column(0);
    const std::vector<std::wstring> vecHotkeys = List(hOptions).Column(1);
    ASSERT_EQ(28u, vecNames.size());
    ASSERT_EQ(28u, vecHotkeys.size());
    const std::vector<std::pair<std::wstring, std::wstring>> vecFirst = {
        {L"View", L""},
        {L"   Show Main Window", L"Ctrl + Alt + A"},
        {L"   Show Clip Window", L"Ctrl + Alt + 0"},
        {L"Edit", L""},
        {L"   Preview First Item", L""}};
    for (size_t i = 0; i < vecFirst.size(); ++i) {
        EXPECT_EQ(vecFirst[i], std::make_pair(vecNames[i], vecHotkeys[i])) << i;
    }
    EXPECT_EQ(L"   Revert First Items", vecNames[kRowRevertFirstItems]);

    // A double click on a caption opens nothing; on a command it opens the editor.
    for (const int nRow : {0, kRowShowClipWindow}) {
        POINT pt{};
        ASSERT_TRUE(List(hOptions).CellPoint(nRow, 0, pt));
        ASSERT_TRUE(ClickAt(pt, 2));
        EXPECT_EQ(nRow != 0,
                  WaitForDialog(nProcess, kHotkeyEditTitle, nRow == 0 ? 1000 : 5000) != nullptr)
            << nRow;
    }
    const HWND hEditor = FindDialog(nProcess, kHotkeyEditTitle);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_EQ(L"Show Clip Window", ControlText(hEditor, kIdCommandName));
    EXPECT_EQ((std::vector<bool>{true, true, false}),
              (std::vector<bool>{IsTicked(hEditor, kIdCtrl), IsTicked(hEditor, kIdAlt),
                                 IsTicked(hEditor, kIdShift)}));
    EXPECT_EQ(L"0", ComboSelection(hEditor, kIdKey));
    ASSERT_TRUE(TypeInto(hEditor, {{VK_ESCAPE}}));
    ASSERT_TRUE(WaitUntilGone(hEditor));

    // While it is open, neither menu opens a second one.
    PostMessageW(m_korvex.MainWindow(), WM_COMMAND, kCmdFileOptions, 0);
    const HWND hMenuAgain = OpenTrayMenu(nProcess);
    ASSERT_NE(nullptr, hMenuAgain);
    ASSERT_EQ(2u, wintest::InjectKeys(wintest::Chord({'O'})));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(hMenuAgain); }));
    ASSERT_TRUE(HandledSoFar(1));
    EXPECT_EQ(1, CountDialogs(nProcess, kOptionsTitle));

    ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}}));
    EXPECT_TRUE(WaitUntilGone(hOptions));
    EXPECT_TRUE(m_korvex.Responds());
}

TEST_F(e2eOptions, ARebindingWorksAtOnceSurvivesCancelAndARestart) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"one", L"two"}));
    const HWND hOptions = OpenOptions();
    ASSERT_NE(nullptr, hOptions);
    const HWND hEditor = OpenEditor(hOptions, kRowRevertFirstItems);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_EQ(L"Revert First Items", ControlText(hEditor, kIdCommandName));
    EXPECT_EQ(L"9", ComboSelection(hEditor, kIdKey));
    // From the name over Ctrl, Alt and Shift to the key; Z; OK.
    ASSERT_TRUE(TypeInto(hEditor, {{VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB}, {'Z'}, {VK_RETURN}}));
    ASSERT_TRUE(WaitUntilGone(hEditor));
    EXPECT_EQ(L"Ctrl + Alt + Z", List(hOptions).Text(kRowRevertFirstItems, 1));
    ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}})); // Cancel keeps the hotkey change
    ASSERT_TRUE(WaitUntilGone(hOptions));
    EXPECT_EQ(0x0003005Au, Hotkey(L"1125"));

    ASSERT_TRUE(PressHotkey({VK_CONTROL, ALT, 'Z'}));
    EXPECT_TRUE(WaitForRows({L"one", L"two"}));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, ALT, '9'}));
    ASSERT_TRUE(HandledSoFar(1));
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), RowTexts()) << "Ctrl+Alt+9 still swaps";

    m_korvex.Stop();
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"three", L"four"}));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, ALT, 'Z'}));
    EXPECT_TRUE(WaitForRows({L"three", L"four"}));
}

TEST_F(e2eOptions, TakingAnotherCommandsHotkeyAsksFirst) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"hello world"}));
    const DWORD nProcess = m_korvex.ProcessId();
    const HWND hOptions = OpenOptions();
    ASSERT_NE(nullptr, hOptions);
    HWND hEditor = OpenEditor(hOptions, kRowTitleFirstItem);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_EQ(L"Title First Item", ControlText(hEditor, kIdCommandName));
    EXPECT_EQ(L"(None)", ComboSelection(hEditor, kIdKey));
    // Alt+C ticks Ctrl, Alt+A ticks Alt; over Shift to the key; A; OK.
    ASSERT_TRUE(
        TypeInto(hEditor, {{ALT, 'C'}, {ALT, 'A'}, {VK_TAB}, {VK_TAB}, {'A'}, {VK_RETURN}}));

    for (const WORD nAnswer : {'N', 'Y'}) {
        const HWND hBox = WaitForDialog(nProcess, kMainWindowTitle);
        ASSERT_NE(nullptr, hBox) << "no question";
        EXPECT_EQ(L"This Hotkey Configuration is assigned to 'Show Main Window' command.\n"
                  L"Do you want to overwrite it?",
                  MessageBoxText(hBox));
        ASSERT_TRUE(TypeInto(hBox, {{nAnswer}}));
        ASSERT_TRUE(WaitUntilGone(hBox));
        if (nAnswer == 'N') {
            EXPECT_TRUE(IsWindowVisible(hEditor)) << "No closed the editor";
            EXPECT_EQ(std::nullopt, Hotkey(L"1025"));
            EXPECT_EQ(std::nullopt, Hotkey(L"1145"));
            ASSERT_TRUE(TypeInto(hEditor, {{VK_RETURN}})); // asked again
        }
    }
    ASSERT_TRUE(WaitUntilGone(hEditor));
    EXPECT_EQ(L"", List(hOptions).Text(kRowShowMainWindow, 1));
    EXPECT_EQ(L"Ctrl + Alt + A", List(hOptions).Text(kRowTitleFirstItem, 1));
    EXPECT_EQ(0u, Hotkey(L"1025"));
    EXPECT_EQ(0x00030041u, Hotkey(L"1145"));

    // Its own binding again: no question, the editor closes.
    hEditor = OpenEditor(hOptions, kRowTitleFirstItem);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_TRUE(IsTicked(hEditor, kIdCtrl) && IsTicked(hEditor, kIdAlt));
    EXPECT_EQ(L"A", ComboSelection(hEditor, kIdKey));
    ASSERT_TRUE(TypeInto(hEditor, {{VK_RETURN}}));
    EXPECT_TRUE(WaitUntilGone(hEditor)) << "the editor stayed (a question?)";
    EXPECT_EQ(0x00030041u, Hotkey(L"1145"));
    ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}}));
    ASSERT_TRUE(WaitUntilGone(hOptions));

    // Ctrl+Alt+A now titles the first entry and no longer shows the main window.
    ASSERT_TRUE(PressHotkey({VK_CONTROL, ALT, 'A'}));
    EXPECT_TRUE(WaitForRows({L"Hello world", L"hello world"}));
    EXPECT_FALSE(m_korvex.IsVisible());
}

TEST_F(e2eOptions, SystemOptionsAreWrittenOnOkAndAppliedAtOnce) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"a", L"b", L"c"}));
    const std::wstring strQuoted = L"\"" + wintest::ProgramPath(L"korvex.exe") + L"\"";
    struct STEP {
        const wchar_t* pszClipboard; // copied before the dialog opens, or null
        std::vector<std::vector<WORD>> vecKeys;
        DWORD nBufferSize, nMaxCopySize, nDoPaste;
        bool bRunValue;
        std::vector<std::wstring> vecRows;
    };
    const STEP aSteps[] = {
        // Fewer entries than there are: trimmed at once.
        {nullptr,
         {{ALT, 'I'}, {'2'}, {ALT, 'P'}, {ALT, 'W'}, {VK_RETURN}},
         2,
         5,
         1,
         false,
         {L"c", L"b"}},
        // Cancel writes nothing.
        {nullptr,
         {{ALT, 'I'}, {'9'}, {ALT, 'P'}, {ALT, 'W'}, {VK_ESCAPE}},
         2,
         5,
         1,
         false,
         {L"c", L"b"}},
        // An empty field stores 0; the Run value comes back.
        {nullptr, {{ALT, 'I'}, {VK_DELETE}, {ALT, 'W'}, {VK_RETURN}}, 0, 5, 1, true, {}},
        // Pasted text stores only what its digits say.
        {L"-5", {{ALT, 'I'}, {VK_CONTROL, 'V'}, {VK_RETURN}}, 5, 5, 1, true, {}},
        {L"ab", {{ALT, 'M'}, {VK_CONTROL, 'V'}, {VK_RETURN}}, 5, 0, 1, true, {L"ab"}},
    };
    for (size_t i = 0; i < std::size(aSteps); ++i) {
        SCOPED_TRACE(i);
        const STEP& oStep = aSteps[i];
        if (oStep.pszClipboard != nullptr) {
            ASSERT_TRUE(Copy(oStep.pszClipboard));
            ASSERT_TRUE(PumpUntil([&] { return ReadClipboardText() == oStep.pszClipboard; }));
        }
        const HWND hOptions = OpenOptions();
        ASSERT_NE(nullptr, hOptions);
        ASSERT_TRUE(TypeInto(hOptions, oStep.vecKeys));
        ASSERT_TRUE(WaitUntilGone(hOptions));
        EXPECT_EQ(oStep.nBufferSize, Setting(L"Options", L"BufferSize"));
        EXPECT_EQ(oStep.nMaxCopySize, Setting(L"Options", L"MaxClipboardCopySize"));
        EXPECT_EQ(oStep.nDoPaste, Setting(L"Options", L"DoPaste"));
        const std::optional<wintest::RegistryValue> optRun =
            wintest::ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kRunValue);
        EXPECT_EQ(oStep.bRunValue, optRun.has_value());
        if (optRun && oStep.bRunValue) {
            EXPECT_EQ(strQuoted, reinterpret_cast<const wchar_t*>(optRun->vecData.data()));
        }
        EXPECT_TRUE(WaitForRows(oStep.vecRows));
    }
}

} // namespace
} // namespace e2e
