// The item editor "Clip Item" and the find dialog, opened from the main window, the small clip
// window and the two hotkey messages, driven with the keys a user presses.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
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
constexpr UINT kMsgBookmarkFirstItem = 0x477;
constexpr UINT kCmdFind = 32890;
constexpr int kEditorBox = 1011, kAppend = 1018, kReplace = 1019;
constexpr int kFindText = 1021, kMatchCase = 1022, kWholeWord = 1023;

// Korvex's dialog with this title, once it is in the foreground; null when none comes.
HWND WaitForDialog(DWORD nProcessId, const wchar_t* pszTitle) {
    return e2e::WaitForDialog(nProcessId, pszTitle, 5000, true);
}

std::vector<int> SelectedRows(HWND hList) {
    std::vector<int> vecRows;
    for (int i = 0, n = CRemoteListView(hList).RowCount(); i < n; ++i) {
        if (SendWithin(hList, LVM_GETITEMSTATE, i, LVIS_SELECTED) != 0) {
            vecRows.push_back(i);
        }
    }
    return vecRows;
}

// Selects exactly these rows; the last one is the selection mark.
bool SelectRows(HWND hList, const std::vector<int>& vecRows) {
    const CRemoteMemory oMemory(hList, sizeof(LVITEMW));
    LVITEMW oItem{};
    oItem.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    bool bDone = oMemory.Write(0, &oItem, sizeof oItem) &&
                 SendWithin(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), oMemory.At(0)) > 0;
    oItem.state = LVIS_SELECTED | LVIS_FOCUSED;
    for (const int nRow : vecRows) {
        bDone = bDone && oMemory.Write(0, &oItem, sizeof oItem) &&
                SendWithin(hList, LVM_SETITEMSTATE, nRow, oMemory.At(0)) > 0;
    }
    SendWithin(hList, LVM_SETSELECTIONMARK, 0, vecRows.empty() ? -1 : vecRows.back());
    return bDone;
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
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hSmallClip); }));
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
    auto selectsAfter = [&](std::vector<int> vecBefore, const Keys& keys,
                            std::vector<int> vecAfter) {
        std::vector<int> vecNow;
        return SelectRows(hList, vecBefore) && Press(keys) &&
                       PumpUntil([&] { return (vecNow = SelectedRows(hList)) == vecAfter; })
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << ::testing::PrintToString(vecNow);
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
    EXPECT_TRUE(selectsAfter({}, {{VK_F3}}, {2}));
    // Shown again; Enter is Find Next with the criteria just changed (case now ignored).
    ASSERT_TRUE(SelectRows(hList, {}));
    ASSERT_TRUE(find({{VK_MENU, 'C'}, {VK_RETURN}}, [&](HWND hFind) {
        EXPECT_EQ(L"hit", ControlText(hFind, kFindText));
        EXPECT_TRUE(IsTicked(hFind, kMatchCase));
        EXPECT_FALSE(IsTicked(hFind, kWholeWord));
    }));
    EXPECT_TRUE(PumpUntil([&] { return SelectedRows(hList) == std::vector<int>{1}; }));

    const struct {
        std::vector<int> vecBefore;
        std::vector<WORD> chord;
        std::vector<int> vecAfter;
    } aCases[] = {
        // From the top or the bottom, from the row after or before the one, or not at all.
        {{}, {VK_F3}, {1}},        {{}, {VK_SHIFT, VK_F3}, {4}},
        {{2}, {VK_F3}, {4}},       {{4}, {VK_SHIFT, VK_F3}, {2}},
        {{0, 2}, {VK_F3}, {0, 2}}, {{0, 2}, {VK_SHIFT, VK_F3}, {0, 2}},
    };
    for (const auto& oCase : aCases) {
        SCOPED_TRACE(::testing::PrintToString(oCase.vecBefore) + " " +
                     ::testing::PrintToString(oCase.chord));
        EXPECT_TRUE(selectsAfter(oCase.vecBefore, {oCase.chord}, oCase.vecAfter));
    }

    // A search that finds nothing leaves the former row unselected.
    ASSERT_TRUE(find({{VK_END}, {'Z'}, {VK_ESCAPE}}));
    EXPECT_TRUE(selectsAfter({1}, {{VK_F3}}, {}));

    // Bookmark All marks the three entries with "hit"; "bird" keeps its mark, "miss" gets none.
    ASSERT_TRUE(find({{VK_END}, {VK_BACK}, {VK_MENU, 'B'}}));
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

} // namespace
} // namespace e2e
