// The item editor "Clip Item" and the find dialog, opened from the main window, the small clip
// window and the two hotkey messages, driven with the keys a user presses.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "Mouse.h"
#include "RemoteListView.h"
#include "tests/support/win/Keyboard.h"
#include "tests/support/win/LinuxCommand.h"

#include <commctrl.h>

#include <functional>

namespace e2e {
namespace {

using e2eEditorAndFind = KorvexScenario;
using Keys = std::vector<std::vector<WORD>>; // chords pressed in turn

constexpr UINT kMsgPreviewFirstItem = 0x475;
constexpr UINT kMsgEditFirstItem = 0x476;
constexpr UINT kCmdFind = 32890;
constexpr int kEditorBox = 1011, kAppend = 1018, kReplace = 1019;
constexpr int kFindText = 1021, kMatchCase = 1022, kWholeWord = 1023, kFindNext = 1024,
              kFindBookmarkAll = 1025;

// Korvex's dialog with this title, once it is in the foreground; null when none comes.
HWND WaitForDialog(DWORD nProcessId, const wchar_t* pszTitle) {
    return e2e::WaitForDialog(nProcessId, pszTitle, 5000, true);
}

// The rows selected (once some are), after the selection was cleared and fnAct done.
std::vector<int> SelectedAfter(HWND hList, const std::function<bool()>& fnAct) {
    const CRemoteMemory oMemory(hList, sizeof(LVITEMW));
    LVITEMW oClear{};
    oClear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    std::vector<int> vecRows = {-1};
    if (oMemory.Write(0, &oClear, sizeof oClear) &&
        SendWithin(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), oMemory.At(0)) > 0 &&
        fnAct()) {
        PumpUntil([&] {
            vecRows.clear();
            for (int i = -1;
                 (i = static_cast<int>(SendWithin(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                                  LVNI_SELECTED))) >= 0;) {
                vecRows.push_back(i);
            }
            return !vecRows.empty();
        });
    }
    return vecRows;
}

TEST_F(e2eEditorAndFind, PreviewHotkeyShowsTheHeadReadOnlyAndNeitherHotkeyOpensOnAnEmptyHistory) {
    ASSERT_TRUE(StartKorvex());
    // Posted before the copy, so handled before it: a dialog would exist when the row does.
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgPreviewFirstItem, 0, 0));
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgEditFirstItem, 0, 0));
    ASSERT_TRUE(CopyEach({L"older"}));
    EXPECT_EQ(nullptr, FindWindowW(L"#32770", L"Clip Item"));
    ASSERT_TRUE(Copy(L"l1\r\nl2\r\nl3"));
    ASSERT_TRUE(WaitForRows({L"l1<CR><LF>l2<CR><LF>l3", L"older"}));

    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgPreviewFirstItem, 0, 0));
    const HWND hEditor = WaitForDialog(m_korvex.ProcessId(), L"Clip Item");
    ASSERT_NE(nullptr, hEditor);
    const HWND hBox = GetDlgItem(hEditor, kEditorBox);
    EXPECT_EQ(L"l1\r\nl2\r\nl3", ControlText(hEditor, kEditorBox));
    EXPECT_EQ(3, SendWithin(hBox, EM_GETLINECOUNT, 0, 0));
    EXPECT_NE(0, GetWindowLongW(hBox, GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hEditor, kAppend)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hEditor, kReplace)));
    // F2 and F3 do nothing; Esc closes.
    ASSERT_TRUE(Press({{VK_F2}, {VK_F3}, {VK_ESCAPE}}));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hEditor); }));
    ASSERT_TRUE(Copy(L"after"));
    EXPECT_TRUE(WaitForRows({L"after", L"l1<CR><LF>l2<CR><LF>l3", L"older"}));
}

TEST_F(e2eEditorAndFind, EditHotkeyAppendsOrReplacesTheEntryThatWasShown) {
    const Keys kTypeX = {{VK_CONTROL, VK_END}, {'X'}};
    const Keys kEmpty = {{VK_CONTROL, VK_HOME}, {VK_CONTROL, VK_SHIFT, VK_END}, {VK_DELETE}};
    const Keys kLineBreak = {{VK_CONTROL, VK_END}, {VK_RETURN}, {'X'}};
    const struct {
        DWORD nBufferSize;
        std::vector<std::wstring> vecCopiedMeanwhile; // while the editor is open
        Keys keys;                                    // then F2 (Append) or F3 (Replace)
        WORD nClose;
        std::vector<std::wstring> vecRows;
    } aCases[] = {
        {200, {}, kTypeX, VK_F2, {L"onex", L"one", L"zero"}},
        {200, {}, kTypeX, VK_F3, {L"onex", L"zero"}},
        {200, {}, kEmpty, VK_F3, {L"", L"zero"}},
        {200, {}, kLineBreak, VK_F2, {L"one<CR><LF>x", L"one", L"zero"}},
        {200, {L"two"}, kTypeX, VK_F3, {L"two", L"onex", L"zero"}},  // "one" moved down
        {2, {L"two", L"three"}, kTypeX, VK_F3, {L"onex", L"three"}}, // "one" trimmed away
    };
    for (const auto& oCase : aCases) {
        SCOPED_TRACE(ToUtf8(oCase.vecRows.front()));
        ASSERT_TRUE(WriteSetting(L"Options", L"BufferSize", oCase.nBufferSize));
        ASSERT_TRUE(StartKorvex());
        ASSERT_TRUE(CopyEach({L"zero", L"one"}));
        ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgEditFirstItem, 0, 0));
        ASSERT_NE(nullptr, WaitForDialog(m_korvex.ProcessId(), L"Clip Item"));
        for (const std::wstring& strCopy : oCase.vecCopiedMeanwhile) {
            ASSERT_TRUE(Copy(strCopy));
            ASSERT_TRUE(PumpUntil([&] { return RowTexts().front() == strCopy; }));
        }
        ASSERT_TRUE(Press(oCase.keys) && Press({{oCase.nClose}}));
        EXPECT_TRUE(WaitForRows(oCase.vecRows));
    }
}

TEST_F(e2eEditorAndFind, AMegabyteEntryIsEditedWhole) {
    std::wstring strBig;
    for (int i = 0; i < 10000; ++i) {
        strBig += std::wstring(97, static_cast<wchar_t>(L'a' + i % 26)) + L"|\r\n";
    }
    wchar_t aTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, aTemp);
    const std::wstring strFile = std::wstring(aTemp) + L"korvex-e2e-megabyte.txt";
    ASSERT_TRUE(wintest::WriteWholeFile(strFile, ToUtf8(strBig)));
    ASSERT_TRUE(StartKorvex());
    wintest::CChildProcess& oClipTool =
        StartHelper(L"cliptool.exe", L"write-file \"" + strFile + L"\"");
    const bool bCopied = oClipTool.WaitForExit(15000) && oClipTool.ExitCode() == 0;
    DeleteFileW(strFile.c_str());
    ASSERT_TRUE(bCopied);
    ASSERT_TRUE(PumpUntil([&] { return CRemoteListView(m_korvex.ListWindow()).RowCount() == 1; }));

    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgEditFirstItem, 0, 0));
    const HWND hEditor = WaitForDialog(m_korvex.ProcessId(), L"Clip Item");
    ASSERT_NE(nullptr, hEditor);
    EXPECT_EQ(static_cast<LRESULT>(strBig.size()),
              SendWithin(GetDlgItem(hEditor, kEditorBox), WM_GETTEXTLENGTH, 0, 0));
    ASSERT_TRUE(Press({{VK_CONTROL, VK_END}, {'X'}, {VK_F2}}));
    EXPECT_TRUE(PumpUntil([&] { return ReadClipboardText() == strBig + L"x"; }, 15000));
    EXPECT_TRUE(PumpUntil([&] { return CRemoteListView(m_korvex.ListWindow()).RowCount() == 2; }));
}

TEST_F(e2eEditorAndFind, SmallClipWindowStaysBehindTheEditorAndAppendPastes) {
    ASSERT_TRUE(WriteSetting(L"Options", L"DoPaste", 1));
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"zero", L"one"}));
    wintest::CChildProcess& oTarget = StartHelper(L"hooktarget.exe", L"");
    ASSERT_TRUE(oTarget.WaitForOutput("ready", 10000));

    ASSERT_TRUE(Press({{VK_CONTROL, VK_MENU, '0'}}));
    const HWND hSmallClip = WaitForDialog(m_korvex.ProcessId(), L"");
    ASSERT_NE(nullptr, hSmallClip);
    ASSERT_TRUE(Press({{VK_CONTROL, VK_RETURN}}));
    ASSERT_NE(nullptr, WaitForDialog(m_korvex.ProcessId(), L"Clip Item"));
    EXPECT_TRUE(IsWindowVisible(hSmallClip)) << "the small clip window closed behind the editor";

    ASSERT_TRUE(Press({{VK_CONTROL, VK_END}, {'X'}, {VK_F2}}));
    EXPECT_TRUE(WaitForRows({L"onex", L"one", L"zero"}));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(hSmallClip); }));
    // Ctrl+V reached the program the user was in, with the edited text on the clipboard.
    EXPECT_TRUE(oTarget.WaitForOutput("down 56", 5000)) << oTarget.Output();
    EXPECT_EQ(L"onex", ReadClipboardText());
}

TEST_F(e2eEditorAndFind, FindDialogKeepsItsCriteriaAndFindsFromTheSelection) {
    ASSERT_TRUE(StartKorvex(L"-n"));
    ASSERT_TRUE(CopyEach({L"hit a", L"miss", L"hit b", L"HIT c", L"bird"}));
    // Rows: 0 "bird", 1 "HIT c", 2 "hit b", 3 "miss", 4 "hit a".
    const HWND hMain = m_korvex.MainWindow();
    const HWND hList = m_korvex.ListWindow();
    const CRemoteListView oList(hList);
    const int nPlain = oList.Image(0, kColumnNo);
    ASSERT_TRUE(PostMessageW(hMain, kMsgBookmarkFirstItem, 0, 0)); // "bird"
    ASSERT_TRUE(PumpUntil([&] { return oList.Image(0, kColumnNo) != nPlain; }));
    const int nBookmark = oList.Image(0, kColumnNo);
    // Opens the dialog from the main window, lets fnLook see it, presses the keys.
    auto find = [&](const Keys& keys, const std::function<void(HWND)>& fnLook = nullptr) {
        SetForegroundWindow(hMain);
        PostMessageW(hMain, WM_COMMAND, kCmdFind, 0);
        const HWND hFind = WaitForDialog(m_korvex.ProcessId(), L"Find");
        if (hFind != nullptr && fnLook) {
            fnLook(hFind);
        }
        return hFind != nullptr && Press(keys) && PumpUntil([&] { return !IsWindow(hFind); }) &&
               PumpUntil([&] { return GetForegroundWindow() == hMain; });
    };

    // Typed, ticked and left with Esc: kept, and F3 matches case ("HIT c" is passed over).
    RECT rcFind{};
    ASSERT_TRUE(find({{'H'}, {'I'}, {'T'}, {VK_MENU, 'C'}, {VK_ESCAPE}}, [&](HWND hFind) {
        EXPECT_EQ(L"", ControlText(hFind, kFindText));
        EXPECT_FALSE(IsTicked(hFind, kMatchCase));
        GetWindowRect(hFind, &rcFind);
    }));
    EXPECT_EQ(static_cast<DWORD>(rcFind.right - rcFind.left), Setting(L"FindWindow", L"Width"));
    EXPECT_EQ(static_cast<DWORD>(rcFind.bottom - rcFind.top), Setting(L"FindWindow", L"Height"));
    const auto fnF3 = [] { return static_cast<bool>(Press({{VK_F3}})); };
    EXPECT_EQ(std::vector<int>{2}, SelectedAfter(hList, fnF3));
    // Shown again; Enter is Find Next with the criteria just changed (case now ignored). (Where
    // F3 and Shift+F3 go on from is the item commands' own test.)
    const auto fnShownAgain = [&](HWND hFind) {
        EXPECT_EQ(L"hit", ControlText(hFind, kFindText));
        EXPECT_TRUE(IsTicked(hFind, kMatchCase));
        EXPECT_FALSE(IsTicked(hFind, kWholeWord));
        // Right after the dialog came forward the desktop can drop the injected Alt: the "c"
        // typed then is taken back and Alt+C pressed again.
        for (int nTry = 0; nTry < 3 && IsTicked(hFind, kMatchCase); ++nTry) {
            SetDlgItemTextW(hFind, kFindText, L"hit");
            Press({{VK_MENU, 'C'}});
            PumpUntil([&] { return !IsTicked(hFind, kMatchCase); }, 1000);
        }
        EXPECT_EQ(L"hit", ControlText(hFind, kFindText));
    };
    EXPECT_EQ(std::vector<int>{1},
              SelectedAfter(hList, [&] { return find({{VK_RETURN}}, fnShownAgain); }));
    // Bookmark All marks the three entries with "hit"; "bird" keeps its mark, "miss" gets none.
    ASSERT_TRUE(find({{VK_MENU, 'B'}}));
    const std::vector<int> vecExpected = {nBookmark, nBookmark, nBookmark, nPlain, nBookmark};
    std::vector<int> vecImages;
    EXPECT_TRUE(PumpUntil([&] {
        vecImages.clear();
        for (int i = 0; i < 5; ++i) {
            vecImages.push_back(oList.Image(i, kColumnNo));
        }
        return vecImages == vecExpected;
    })) << ::testing::PrintToString(vecImages);
}

// Find-by-typing in the main window: the field shows above the list while it holds text, the
// find dialog's Find Next, F3 and Bookmark All stay among the rows shown, the first Esc clears
// the field and the next hides the window.
TEST_F(e2eEditorAndFind, TypingFiltersTheMainListAndFindStaysAmongTheRowsShown) {
    ASSERT_TRUE(StartKorvex(L"-n"));
    ASSERT_TRUE(CopyEach({L"SELECT id FROM customers", L"from the middle",
                          L"select name from orders", L"selection"}));
    const HWND hMain = m_korvex.MainWindow();
    const HWND hList = m_korvex.ListWindow();
    const HWND hField = GetDlgItem(hMain, kMainFilterId);
    const CRemoteListView oList(hList);
    POINT ptRow{};
    ASSERT_TRUE(oList.CellPoint(0, kColumnText, ptRow));
    ASSERT_TRUE(ClickAt(ptRow, 1));
    const std::wstring strTyped = L"select";
    ASSERT_EQ(wintest::InjectText(strTyped), strTyped.size() * 2);
    // Every letter typed, before the find dialog comes: "s" alone shows the same rows, and a
    // letter still on its way would go into the dialog's field or set the filter again.
    ASSERT_TRUE(PumpUntil([&] { return ControlText(hMain, kMainFilterId) == strTyped; }));
    EXPECT_TRUE(
        WaitForRows({L"selection", L"select name from orders", L"SELECT id FROM customers"}));
    EXPECT_TRUE(IsWindowVisible(hField));
    const auto Selected = [&] {
        return static_cast<int>(
            SendWithin(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    };
    // "from" is in "from the middle" too, which the filter hides: Find Next and F3 pass it over.
    const auto FindFrom = [&](int nButton) {
        PostMessageW(hMain, WM_COMMAND, kCmdFind, 0);
        const HWND hFind = WaitForDialog(m_korvex.ProcessId(), L"Find");
        return hFind != nullptr && SetDlgItemTextW(hFind, kFindText, L"from") &&
               PostMessageW(hFind, WM_COMMAND, static_cast<WPARAM>(nButton), 0) &&
               PumpUntil([&] { return !IsWindow(hFind); });
    };
    ASSERT_TRUE(FindFrom(kFindNext));
    EXPECT_TRUE(PumpUntil([&] { return Selected() == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == hMain; }));
    Press({{VK_F3}});
    EXPECT_TRUE(PumpUntil([&] { return Selected() == 2; }));
    ASSERT_TRUE(FindFrom(kFindBookmarkAll));

    // Esc clears the field: every row again, the two shown matches bookmarked, not the hidden one.
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == hMain; }));
    Press({{VK_ESCAPE}});
    EXPECT_TRUE(WaitForRows({L"selection", L"select name from orders", L"from the middle",
                             L"SELECT id FROM customers"}));
    EXPECT_FALSE(IsWindowVisible(hField));
    const int nPlain = oList.Image(0, kColumnNo);
    EXPECT_NE(oList.Image(1, kColumnNo), nPlain);
    EXPECT_EQ(oList.Image(2, kColumnNo), nPlain);
    EXPECT_NE(oList.Image(3, kColumnNo), nPlain);
    Press({{VK_ESCAPE}});
    EXPECT_TRUE(WaitForVisible(false));
}

} // namespace
} // namespace e2e
