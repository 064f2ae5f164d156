// The options dialog and the hotkey editor, opened from the menus and used with the keyboard as
// a user would: what they show on a first run, hotkeys rebound at once and after a restart, the
// question before taking another command's hotkey, and the system options written on OK.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "Mouse.h"
#include "RemoteListView.h"
#include "Tray.h"
#include "tests/support/win/Keyboard.h"

#include <commctrl.h>

namespace e2e {
namespace {

constexpr WORD ALT = VK_MENU;
constexpr WORD CTRL = VK_CONTROL;
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
    // Goes to the row with the arrow keys and presses Enter: the editor, or NULL.
    HWND OpenEditor(HWND hOptions, int nRow) {
        std::vector<std::vector<WORD>> vecKeys = {{VK_HOME}};
        vecKeys.insert(vecKeys.end(), static_cast<size_t>(nRow), {VK_DOWN});
        vecKeys.push_back({VK_RETURN});
        return TypeInto(hOptions, vecKeys) ? WaitForDialog(m_korvex.ProcessId(), kHotkeyEditTitle)
                                           : nullptr;
    }
    // What the editor shows, as "Show Clip Window: Ctrl + Alt + 0".
    static std::wstring Editing(HWND hEditor) {
        return ControlText(hEditor, kIdCommandName) + L": " +
               (IsTicked(hEditor, kIdCtrl) ? L"Ctrl + " : L"") +
               (IsTicked(hEditor, kIdAlt) ? L"Alt + " : L"") +
               (IsTicked(hEditor, kIdShift) ? L"Shift + " : L"") + ComboSelection(hEditor, kIdKey);
    }
    static std::wstring HotkeyText(HWND hOptions, int nRow) {
        return CRemoteListView(GetDlgItem(hOptions, kIdHotkeyList)).Text(nRow, 1);
    }
    static bool Gone(HWND hDlg) {
        return PumpUntil([&] { return !IsWindow(hDlg); });
    }
    // Every message posted to Korvex's main window before this call has been handled once the
    // paste option, switched by a posted message, reads nValue.
    bool HandledSoFar(DWORD nValue) {
        PostMessageW(m_korvex.MainWindow(), kMsgPasteActivatedItem, 0, 0);
        return PumpUntil([&] { return Setting(L"Options", L"DoPaste") == nValue; });
    }
};

TEST_F(e2eOptions, FirstRunShowsTheDefaultsAndOnlyOneDialogOpensFromEitherMenu) {
    ASSERT_TRUE(StartKorvex());
    const DWORD nProcess = m_korvex.ProcessId();
    ASSERT_NE(nullptr, OpenTrayMenu(nProcess));
    ASSERT_EQ(2u, wintest::InjectKeys(wintest::Chord({'O'}))); // "&Options"
    const HWND hOptions = WaitForDialog(nProcess, kOptionsTitle);
    ASSERT_NE(nullptr, hOptions);

    EXPECT_EQ(L"200", ControlText(hOptions, kIdItemsCount));
    EXPECT_EQ(L"5", ControlText(hOptions, kIdMaxCopySize));
    EXPECT_FALSE(IsTicked(hOptions, kIdPasteActivated));
    EXPECT_TRUE(IsTicked(hOptions, kIdStartWithWindows));
    const CRemoteListView oList(GetDlgItem(hOptions, kIdHotkeyList));
    EXPECT_EQ(29, oList.RowCount());
    // The keyboard is on the first command, not on its group's caption.
    const HWND hList = GetDlgItem(hOptions, kIdHotkeyList);
    EXPECT_EQ(kRowShowMainWindow, SendMessageW(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                               LVNI_SELECTED | LVNI_FOCUSED));
    EXPECT_EQ(hList, ThreadInfo(hOptions).hwndFocus);
    const std::vector<std::wstring> vecFirst = {
        oList.Text(0, 0), oList.Text(1, 0), oList.Text(1, 1), oList.Text(2, 0), oList.Text(2, 1)};
    EXPECT_EQ((std::vector<std::wstring>{L"View", L"   Show Main Window", L"Ctrl + Alt + A",
                                         L"   Show Clip Window", L"Ctrl + Alt + 0"}),
              vecFirst);

    // A double click on a caption opens nothing; on a command it opens the editor.
    for (const int nRow : {0, kRowShowClipWindow}) {
        POINT pt{};
        ASSERT_TRUE(oList.CellPoint(nRow, 0, pt));
        ASSERT_TRUE(ClickAt(pt, 2));
        EXPECT_EQ(nRow != 0,
                  WaitForDialog(nProcess, kHotkeyEditTitle, nRow == 0 ? 1000 : 5000) != nullptr);
    }
    const HWND hEditor = WaitForDialog(nProcess, kHotkeyEditTitle);
    EXPECT_EQ(L"Show Clip Window: Ctrl + Alt + 0", Editing(hEditor));
    ASSERT_TRUE(TypeInto(hEditor, {{VK_ESCAPE}}));
    ASSERT_TRUE(Gone(hEditor));

    // While it is open, neither menu opens a second one.
    PostMessageW(m_korvex.MainWindow(), WM_COMMAND, kCmdFileOptions, 0);
    const HWND hMenu = OpenTrayMenu(nProcess);
    ASSERT_NE(nullptr, hMenu);
    ASSERT_EQ(2u, wintest::InjectKeys(wintest::Chord({'O'})));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(hMenu); }));
    ASSERT_TRUE(HandledSoFar(1));
    EXPECT_EQ(1u, ShownWindows(nProcess, L"#32770", kOptionsTitle).size());
    ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}}));
    EXPECT_TRUE(Gone(hOptions));
}

TEST_F(e2eOptions, ARebindingWorksAtOnceSurvivesCancelAndARestart) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"one", L"two"}));
    const HWND hOptions = OpenOptions();
    const HWND hEditor = OpenEditor(hOptions, kRowRevertFirstItems);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_EQ(L"Revert First Items: Ctrl + Alt + 9", Editing(hEditor));
    // From the name over Ctrl, Alt and Shift to the key; Z; OK.
    ASSERT_TRUE(TypeInto(hEditor, {{VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB}, {'Z'}, {VK_RETURN}}));
    ASSERT_TRUE(Gone(hEditor));
    EXPECT_EQ(L"Ctrl + Alt + Z", HotkeyText(hOptions, kRowRevertFirstItems));
    ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}})); // Cancel keeps the hotkey change
    ASSERT_TRUE(Gone(hOptions));

    ASSERT_TRUE(PressHotkey({CTRL, ALT, 'Z'}));
    EXPECT_TRUE(WaitForRows({L"one", L"two"}));
    ASSERT_TRUE(PressHotkey({CTRL, ALT, '9'}));
    ASSERT_TRUE(HandledSoFar(1));
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), RowTexts()) << "Ctrl+Alt+9 still swaps";

    m_korvex.Stop();
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"three", L"four"}));
    ASSERT_TRUE(PressHotkey({CTRL, ALT, 'Z'}));
    EXPECT_TRUE(WaitForRows({L"three", L"four"}));
}

TEST_F(e2eOptions, TakingAnotherCommandsHotkeyAsksFirst) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"hello world"}));
    const HWND hOptions = OpenOptions();
    HWND hEditor = OpenEditor(hOptions, kRowTitleFirstItem);
    ASSERT_NE(nullptr, hEditor);
    EXPECT_EQ(L"Title First Item: (None)", Editing(hEditor));
    // Alt+C ticks Ctrl, Alt+A ticks Alt; over Shift to the key; A; OK.
    ASSERT_TRUE(
        TypeInto(hEditor, {{ALT, 'C'}, {ALT, 'A'}, {VK_TAB}, {VK_TAB}, {'A'}, {VK_RETURN}}));
    for (const WORD nAnswer : {'N', 'Y'}) {
        const HWND hBox = WaitForDialog(m_korvex.ProcessId(), kMainWindowTitle);
        ASSERT_NE(nullptr, hBox) << "no question";
        EXPECT_EQ(L"This Hotkey Configuration is assigned to 'Show Main Window' command.\n"
                  L"Do you want to overwrite it?",
                  ControlText(hBox, 0xFFFF));
        ASSERT_TRUE(TypeInto(hBox, {{nAnswer}}));
        ASSERT_TRUE(Gone(hBox));
        if (nAnswer == 'N') { // nothing changed, the editor stays; OK asks again
            EXPECT_EQ(std::nullopt, Setting(L"Hotkeys", L"1145"));
            ASSERT_TRUE(TypeInto(hEditor, {{VK_RETURN}}));
        }
    }
    ASSERT_TRUE(Gone(hEditor));
    EXPECT_EQ(L"", HotkeyText(hOptions, kRowShowMainWindow));
    EXPECT_EQ(L"Ctrl + Alt + A", HotkeyText(hOptions, kRowTitleFirstItem));

    // Its own binding again: no question, the editor closes.
    hEditor = OpenEditor(hOptions, kRowTitleFirstItem);
    EXPECT_EQ(L"Title First Item: Ctrl + Alt + A", Editing(hEditor));
    ASSERT_TRUE(TypeInto(hEditor, {{VK_RETURN}}));
    EXPECT_TRUE(Gone(hEditor)) << "the editor stayed open";
    ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}}));
    ASSERT_TRUE(Gone(hOptions));

    // Ctrl+Alt+A now titles the first entry and no longer shows the main window.
    ASSERT_TRUE(PressHotkey({CTRL, ALT, 'A'}));
    EXPECT_TRUE(WaitForRows({L"Hello world", L"hello world"}));
    EXPECT_FALSE(m_korvex.IsVisible());
}

TEST_F(e2eOptions, SystemOptionsAreWrittenOnOkAndAppliedAtOnce) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"a", L"b", L"c"}));
    const std::wstring strQuoted = L"\"" + wintest::ProgramPath(L"korvex.exe") + L"\"";
    struct STEP {
        DWORD nBufferSize;
        bool bRunValue;
        std::vector<std::wstring> vecRows;
        std::vector<std::vector<WORD>> vecKeys;
    };
    const STEP aSteps[] = {
        // Fewer entries than there are: trimmed at once.
        {2,
         false,
         {L"c", L"b"},
         {{ALT, 'I'}, {'2'}, {ALT, 'M'}, {'7'}, {ALT, 'P'}, {ALT, 'W'}, {VK_RETURN}}},
        // Cancel writes nothing.
        {2, false, {L"c", L"b"}, {{ALT, 'I'}, {'9'}, {ALT, 'P'}, {ALT, 'W'}, {VK_ESCAPE}}},
        // An empty field stores 0; the Run value comes back.
        {0, true, {}, {{ALT, 'I'}, {VK_DELETE}, {ALT, 'W'}, {VK_RETURN}}},
    };
    for (const STEP& oStep : aSteps) {
        SCOPED_TRACE(&oStep - aSteps);
        const HWND hOptions = OpenOptions();
        ASSERT_TRUE(TypeInto(hOptions, oStep.vecKeys));
        ASSERT_TRUE(Gone(hOptions));
        EXPECT_EQ(oStep.nBufferSize, Setting(L"Options", L"BufferSize"));
        EXPECT_EQ(7u, Setting(L"Options", L"MaxClipboardCopySize"));
        EXPECT_EQ(1u, Setting(L"Options", L"DoPaste")); // ticked once, then cancelled
        const auto optRun = wintest::ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kRunValue);
        const auto* pszRun =
            optRun ? reinterpret_cast<const wchar_t*>(optRun->vecData.data()) : L"";
        EXPECT_EQ(oStep.bRunValue ? strQuoted : L"",
                  std::wstring(pszRun, wcsnlen(pszRun, optRun ? optRun->vecData.size() / 2 : 0)));
        EXPECT_TRUE(WaitForRows(oStep.vecRows));
    }
    // A size written by hand counts from the options' notice; a negative one shows as the 0 it
    // means.
    const std::pair<DWORD, const wchar_t*> aHandEdits[] = {{3, L"3"},
                                                           {static_cast<DWORD>(-5), L"0"}};
    for (const auto& [nStored, pszShown] : aHandEdits) {
        ASSERT_TRUE(WriteSetting(L"Options", L"BufferSize", nStored));
        ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgOptionsChanged, 0, 0));
        const HWND hOptions = OpenOptions();
        EXPECT_EQ(pszShown, ControlText(hOptions, kIdItemsCount));
        ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}}));
        ASSERT_TRUE(Gone(hOptions));
    }
    // Pasted non-digits go at once: the field shows what OK would store.
    ASSERT_TRUE(Copy(L"-12"));
    const HWND hOptions = OpenOptions();
    ASSERT_TRUE(TypeInto(hOptions, {{ALT, 'I'}, {CTRL, 'V'}}));
    EXPECT_TRUE(PumpUntil([&] { return ControlText(hOptions, kIdItemsCount) == L"12"; }))
        << ToUtf8(ControlText(hOptions, kIdItemsCount));
    ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}}));
    ASSERT_TRUE(Gone(hOptions));
}

} // namespace
} // namespace e2e
