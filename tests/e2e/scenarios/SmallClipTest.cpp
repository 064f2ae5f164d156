// The small clip window, driven as a user drives it: the "Show Clip Window" hotkey over another
// program (Wine's own Notepad), keys in the window, and the paste into that program.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "Mouse.h"
#include "RemoteListView.h"
#include "tests/support/win/Keyboard.h"

#include <commctrl.h>

#include <cstdio>
#include <ctime>
#include <algorithm>
#include <functional>

namespace e2e {
namespace {

using Keys = std::vector<std::vector<WORD>>; // chords pressed in turn

// The top-level windows, or with hParent its child windows.
std::vector<HWND> Windows(HWND hParent = nullptr) {
    std::vector<HWND> vecWindows;
    const WNDENUMPROC pfnAdd = [](HWND hWnd, LPARAM lParam) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
        return TRUE;
    };
    const auto lParam = reinterpret_cast<LPARAM>(&vecWindows);
    hParent != nullptr ? EnumChildWindows(hParent, pfnAdd, lParam) : EnumWindows(pfnAdd, lParam);
    return vecWindows;
}

// The small clip window of Korvex's main window, or NULL.
HWND FindSmallClip(HWND hMain) {
    for (const HWND hWnd : Windows()) {
        if (GetWindow(hWnd, GW_OWNER) == hMain && IsWindowVisible(hWnd) &&
            GetDlgItem(hWnd, kSmallClipListId) != nullptr) {
            return hWnd;
        }
    }
    return nullptr;
}

// What a process holds of the window system: its USER and GDI objects as the system counts them
// (Wine does not count them and answers 0), and its windows, top-level and child.
struct GUI_COUNTS {
    DWORD nUser = 0;
    DWORD nGdi = 0;
    size_t nWindows = 0;
};

GUI_COUNTS CountGui(DWORD nProcessId) {
    GUI_COUNTS counts;
    if (HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, nProcessId)) {
        counts.nUser = GetGuiResources(hProcess, GR_USEROBJECTS);
        counts.nGdi = GetGuiResources(hProcess, GR_GDIOBJECTS);
        CloseHandle(hProcess);
    }
    for (const HWND hWnd : Windows()) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        counts.nWindows += nOwner == nProcessId ? 1 + Windows(hWnd).size() : 0;
    }
    return counts;
}

class e2eSmallClip : public KorvexScenario {
protected:
    void TearDown() override {
        m_oNotepad.reset(); // ended without its question about saving
        KorvexScenario::TearDown();
    }

    // Wine's Notepad in the foreground with "ab" typed into it.
    ::testing::AssertionResult StartNotepad() {
        m_oNotepad = std::make_unique<wintest::CChildProcess>();
        if (!m_oNotepad->Start(L"notepad.exe") ||
            !PumpUntil([&] { return (m_hNotepad = FindWindowW(L"Notepad", nullptr)) != nullptr; },
                       15000)) {
            return ::testing::AssertionFailure() << "Notepad did not start";
        }
        // Right after its start Notepad can still lose the activation once (the desktop hands
        // it on); typed keys are lost then, so the typing is checked and made again.
        for (int nTry = 0; nTry < 5; ++nTry) {
            if (!wintest::SetForegroundSettled(m_hNotepad) || !PumpUntil([&] {
                    SetForegroundWindow(m_hNotepad);
                    m_hEdit = FindWindowExW(m_hNotepad, nullptr, L"Edit", nullptr);
                    return m_hEdit != nullptr && GetForegroundWindow() == m_hNotepad &&
                           ThreadInfo(m_hNotepad).hwndFocus == m_hEdit;
                })) {
                return ::testing::AssertionFailure() << "Notepad's text did not get the focus";
            }
            SendMessageW(m_hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
            Press({{'A'}, {'B'}});
            if (WaitForNotepad(L"ab", 1000)) {
                return ::testing::AssertionSuccess();
            }
        }
        return WaitForNotepad(L"ab");
    }
    ::testing::AssertionResult WaitForNotepad(const std::wstring& strExpected,
                                              DWORD nTimeoutMs = 5000) {
        std::wstring strText;
        if (PumpUntil([&] { return (strText = WindowText(m_hEdit)) == strExpected; }, nTimeoutMs)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "Notepad holds \"" << ToUtf8(strText)
                                             << "\", expected \"" << ToUtf8(strExpected) << "\"";
    }

    // The hotkey, injected as the keyboard gives it (again when no window came: right after a
    // change of the foreground the desktop can drop an injected modifier); the window.
    HWND OpenWithHotkey() {
        // The window that closed last gave the focus back to Notepad a moment ago.
        wintest::SettleFocusChange();
        for (int nTry = 0; nTry < 3; ++nTry) {
            wintest::InjectKeys(wintest::Chord({VK_CONTROL, VK_MENU, '0'}));
            if (PumpUntil([&] { return FindSmallClip(m_korvex.MainWindow()) != nullptr; }, 1500)) {
                break;
            }
        }
        return WaitForSmallClip();
    }
    HWND WaitForSmallClip() {
        HWND hSmall = nullptr;
        // Open, in the foreground, with the keyboard focus in its list.
        PumpUntil([&] {
            hSmall = FindSmallClip(m_korvex.MainWindow());
            return hSmall != nullptr && GetForegroundWindow() == hSmall &&
                   ThreadInfo(hSmall).hwndFocus == GetDlgItem(hSmall, kSmallClipListId);
        });
        return hSmall;
    }
    ::testing::AssertionResult WaitForClosed() {
        if (PumpUntil([&] { return FindSmallClip(m_korvex.MainWindow()) == nullptr; })) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "the small clip window is still open";
    }
    // Presses the keys until fnDone holds, three times at most: right after the foreground
    // changed, the desktop can drop a key (a held modifier) that was injected.
    static bool PressUntil(const Keys& keys, const std::function<bool()>& fnDone) {
        for (int nTry = 0; nTry < 3; ++nTry) {
            Press(keys);
            if (PumpUntil(fnDone, 1500)) {
                return true;
            }
        }
        return false;
    }
    // Del, until Korvex asks whether to remove: the question's message box, or null.
    HWND PressDelUntilAsked() const {
        HWND hBox = nullptr;
        PressUntil({{VK_DELETE}}, [&] {
            const std::vector<HWND> vecBoxes =
                ShownWindows(m_korvex.ProcessId(), L"#32770", kMainWindowTitle);
            hBox = vecBoxes.empty() ? nullptr : vecBoxes.front();
            return hBox != nullptr;
        });
        return hBox;
    }
    bool KorvexMenuOpen() const { return ThreadInfo(m_korvex.MainWindow()).hwndMenuOwner; }
    static int SelectedRow(HWND hSmall) {
        return static_cast<int>(SendMessageW(GetDlgItem(hSmall, kSmallClipListId), LVM_GETNEXTITEM,
                                             static_cast<WPARAM>(-1), LVNI_SELECTED));
    }

    std::unique_ptr<wintest::CChildProcess> m_oNotepad;
    HWND m_hNotepad = nullptr;
    HWND m_hEdit = nullptr;
};

TEST_F(e2eSmallClip, PickedEntriesLandInNotepadAtTheCaretOnlyWithThePasteOptionOn) {
    ASSERT_TRUE(WriteSetting(L"Options", L"DoPaste", 0));
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"alpha", L"beta", L"gamma"}));
    ASSERT_TRUE(StartNotepad());

    // Opens at the cursor (where the window fits right of it and below it) with row 0
    // selected; Down, Enter with the option off: only the clipboard and the history change.
    ASSERT_TRUE(SetCursorPos(200, 150));
    HWND hSmall = OpenWithHotkey();
    ASSERT_NE(hSmall, nullptr);
    POINT ptCursor{};
    GetCursorPos(&ptCursor);
    RECT rc{};
    GetWindowRect(hSmall, &rc);
    EXPECT_EQ(rc.left, ptCursor.x);
    EXPECT_EQ(rc.top, ptCursor.y);
    EXPECT_EQ(SelectedRow(hSmall), 0);
    ASSERT_TRUE(PressUntil({{VK_DOWN}}, [&] { return SelectedRow(hSmall) == 1; }));
    Press({{VK_RETURN}});
    EXPECT_TRUE(WaitForClosed());
    EXPECT_TRUE(WaitForRows({L"beta", L"gamma", L"alpha"}));
    EXPECT_TRUE(PumpUntil([] { return ReadClipboardText() == L"beta"; }));

    // With the option on (loaded again on the options' notice), the entry lands at the caret;
    // Notepad then holds it alone, so the first pick was never pasted.
    ASSERT_TRUE(WriteSetting(L"Options", L"DoPaste", 1));
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgOptionsChanged, 0, 0));
    ASSERT_NE(hSmall = OpenWithHotkey(), nullptr);
    ASSERT_TRUE(PressUntil({{VK_DOWN}}, [&] { return SelectedRow(hSmall) == 1; }));
    Press({{VK_RETURN}});
    EXPECT_TRUE(WaitForNotepad(L"abgamma"));
    EXPECT_TRUE(WaitForRows({L"gamma", L"beta", L"alpha"}));

    // A date stamp from the context menu, opened from the keyboard at the selected row: the
    // last item of the "Item" pop-up is "Date and Time", whose first command is "yyyy.mm.dd".
    // The stamp becomes the new head entry and the window closes. (Whether its paste reaches
    // Notepad right after a menu depends on Wine's keyboard state after the menu's grab.)
    ASSERT_NE(hSmall = OpenWithHotkey(), nullptr);
    wchar_t aStamp[16] = {};
    const time_t tNow = time(nullptr);
    wcsftime(aStamp, 16, L"%Y.%m.%d", localtime(&tNow));
    ASSERT_TRUE(PressUntil({{VK_APPS}}, [&] { return KorvexMenuOpen(); }))
        << "the Menu key opened no menu";
    ASSERT_TRUE(PressUntil({{VK_END}, {VK_RIGHT}}, [&] {
        return ShownWindows(m_korvex.ProcessId(), L"#32768").size() == 2;
    })) << "the \"Date and Time\" pop-up did not open";
    ASSERT_TRUE(PressUntil({{VK_RETURN}}, [&] { return !KorvexMenuOpen(); }));
    EXPECT_TRUE(WaitForClosed());
    EXPECT_TRUE(PumpUntil([&] { return !RowTexts().empty() && RowTexts().front() == aStamp; }));
}

// The keyboard back where it was in another program: the paste replaces only the selection (in
// a combo box too, which selects its whole text when it gets the focus) and leaves the caret
// after it; Esc gives the same field back its focus and its caret.
TEST_F(e2eSmallClip, ThePasteReplacesOnlyTheSelectionAndEscGivesTheFieldItsCaretBack) {
    ASSERT_TRUE(WriteSetting(L"Options", L"DoPaste", 1));
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"XYZ", L"abc"}));
    StartHelper(L"fieldtarget.exe", L"");
    HWND hTarget = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (hTarget = FindWindowW(L"KorvexFieldTarget", nullptr)) != nullptr; }, 10000));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(hTarget) != FALSE; }));
    const HWND hEdit = GetDlgItem(hTarget, 1);
    const HWND hComboEdit = FindWindowExW(GetDlgItem(hTarget, 2), nullptr, L"Edit", nullptr);
    const auto Selection = [](HWND hField) {
        DWORD nStart = 0;
        DWORD nEnd = 0;
        SendMessageW(hField, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                     reinterpret_cast<LPARAM>(&nEnd));
        return std::make_pair(nStart, nEnd);
    };
    // The field with the focus (reached with Tab, as a user goes there), its text "0123456789"
    // and the selection [nStart, nEnd).
    const auto Prepare = [&](HWND hField, DWORD nStart, DWORD nEnd) {
        SendMessageW(hField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0123456789"));
        return wintest::SetForegroundSettled(hTarget) &&
               PressUntil({{VK_TAB}}, [&] { return ThreadInfo(hTarget).hwndFocus == hField; }) &&
               PumpUntil([&] {
                   SendMessageW(hField, EM_SETSEL, nStart, nEnd);
                   return Selection(hField) == std::make_pair(nStart, nEnd);
               });
    };
    const struct {
        const char* pszField;
        HWND hField;
        DWORD nStart, nEnd;
        const wchar_t* pszExpected; // row 1 pasted: "XYZ", then (moved to the head) "abc"
    } arrPastes[] = {
        {"edit field, three characters selected", hEdit, 4, 7, L"0123XYZ789"},
        {"combo box, the caret in the middle", hComboEdit, 5, 5, L"01234abc56789"},
    };
    for (const auto& oPaste : arrPastes) {
        SCOPED_TRACE(oPaste.pszField);
        ASSERT_TRUE(Prepare(oPaste.hField, oPaste.nStart, oPaste.nEnd));
        HWND hSmall = OpenWithHotkey();
        ASSERT_NE(hSmall, nullptr);
        ASSERT_TRUE(PressUntil({{VK_DOWN}}, [&] { return SelectedRow(hSmall) == 1; }));
        Press({{VK_RETURN}});
        EXPECT_TRUE(WaitForClosed());
        EXPECT_TRUE(PumpUntil([&] { return WindowText(oPaste.hField) == oPaste.pszExpected; }))
            << ToUtf8(WindowText(oPaste.hField));
        const DWORD nAfter = oPaste.nStart + 3;
        EXPECT_EQ(Selection(oPaste.hField), std::make_pair(nAfter, nAfter));
    }

    ASSERT_TRUE(Prepare(hComboEdit, 2, 2));
    ASSERT_NE(OpenWithHotkey(), nullptr);
    Press({{VK_ESCAPE}});
    EXPECT_TRUE(WaitForClosed());
    EXPECT_TRUE(PumpUntil([&] {
        return GetForegroundWindow() == hTarget && ThreadInfo(hTarget).hwndFocus == hComboEdit &&
               Selection(hComboEdit) == std::make_pair(DWORD{2}, DWORD{2});
    }));
    EXPECT_EQ(WindowText(hComboEdit), L"0123456789");
}

TEST_F(e2eSmallClip, WithOpenAtCaretItOpensBelowTheCaretOrAtTheCursorWhenThereIsNone) {
    ASSERT_TRUE(WriteSetting(L"Options", L"OpenAtCaret", 1));
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"one"}));
    ASSERT_TRUE(StartNotepad());
    const GUITHREADINFO info = ThreadInfo(m_hNotepad);
    ASSERT_NE(info.hwndCaret, nullptr);
    POINT ptCaret{info.rcCaret.left, info.rcCaret.bottom};
    ClientToScreen(info.hwndCaret, &ptCaret);
    ASSERT_TRUE(SetCursorPos(600, 500));
    const auto Opened = [&](HWND hSmall) {
        RECT rc{};
        GetWindowRect(hSmall, &rc);
        return POINT{rc.left, rc.top};
    };
    HWND hSmall = OpenWithHotkey();
    ASSERT_NE(hSmall, nullptr);
    const POINT ptAtCaret = Opened(hSmall);
    EXPECT_EQ(ptAtCaret.x, ptCaret.x);
    EXPECT_EQ(ptAtCaret.y, ptCaret.y);
    Press({{VK_ESCAPE}});
    ASSERT_TRUE(WaitForClosed());

    // Over the test's own window, which shows no caret: at the cursor.
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, '0'}));
    ASSERT_NE(hSmall = WaitForSmallClip(), nullptr);
    POINT ptCursor{};
    GetCursorPos(&ptCursor);
    const POINT ptAtCursor = Opened(hSmall);
    EXPECT_EQ(ptAtCursor.x, ptCursor.x);
    EXPECT_EQ(ptAtCursor.y, ptCursor.y);
}

TEST_F(e2eSmallClip, EscHotkeyAndDeactivationCloseItAndTheSizeItHadIsKept) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(StartNotepad());

    // An empty history: an empty list, and Enter keeps the window open (a copy then shows).
    HWND hSmall = OpenWithHotkey();
    ASSERT_NE(hSmall, nullptr);
    const CRemoteListView oList(GetDlgItem(hSmall, kSmallClipListId));
    EXPECT_EQ(oList.RowCount(), 0);
    Press({{VK_RETURN}});
    ASSERT_TRUE(Copy(L"one"));
    EXPECT_TRUE(PumpUntil(
        [&] { return oList.Column(kSmallClipColumnText) == std::vector<std::wstring>{L"one"}; }));
    EXPECT_EQ(FindSmallClip(m_korvex.MainWindow()), hSmall);

    // Esc closes without activating; the hotkey again closes it.
    ASSERT_TRUE(Copy(L"two"));
    ASSERT_TRUE(WaitForRows({L"two", L"one"}));
    ASSERT_TRUE(Copy(L"three"));
    ASSERT_TRUE(WaitForRows({L"three", L"two", L"one"}));
    Press({{VK_ESCAPE}});
    EXPECT_TRUE(WaitForClosed());
    ASSERT_NE(OpenWithHotkey(), nullptr);
    // (Again when it stays open: the desktop can drop the injected modifiers right after the
    // foreground changed, and the 0 is then typed into the window.)
    EXPECT_TRUE(PressUntil({{VK_CONTROL, VK_MENU, '0'}},
                           [&] { return FindSmallClip(m_korvex.MainWindow()) == nullptr; }));
    EXPECT_EQ(RowTexts(), (std::vector<std::wstring>{L"three", L"two", L"one"}));
    EXPECT_EQ(ReadClipboardText(), L"three");

    // The window is kept between openings, but never its rows or selection: left with row 2
    // selected, it opens after a copy with the new rows and row 0 alone selected.
    ASSERT_EQ(OpenWithHotkey(), hSmall);
    ASSERT_TRUE(PressUntil({{VK_END}},
                           [&] {
                               return ListView_GetNextItem(GetDlgItem(hSmall, kSmallClipListId), -1,
                                                           LVNI_SELECTED) == 2;
                           }))
        << "rows " << oList.RowCount() << ", field \""
        << ToUtf8(WindowText(GetDlgItem(hSmall, kSmallClipFilterId))) << "\", focus "
        << (ThreadInfo(hSmall).hwndFocus == GetDlgItem(hSmall, kSmallClipListId)) << ", selected "
        << ListView_GetNextItem(GetDlgItem(hSmall, kSmallClipListId), -1, LVNI_SELECTED);
    Press({{VK_ESCAPE}});
    ASSERT_TRUE(WaitForClosed());
    ASSERT_TRUE(Copy(L"four"));
    ASSERT_TRUE(WaitForRows({L"four", L"three", L"two", L"one"}));
    ASSERT_EQ(OpenWithHotkey(), hSmall);
    EXPECT_EQ(oList.Column(kSmallClipColumnText),
              (std::vector<std::wstring>{L"four", L"three", L"two", L"one"}));
    const HWND hList = GetDlgItem(hSmall, kSmallClipListId);
    EXPECT_EQ(ListView_GetSelectedCount(hList), 1u);
    EXPECT_EQ(ListView_GetNextItem(hList, -1, LVNI_SELECTED), 0);
    Press({{VK_ESCAPE}});
    ASSERT_TRUE(WaitForClosed());

    // Resized, the list follows; clicking another window closes it and keeps the size for the
    // next opening.
    hSmall = OpenWithHotkey();
    ASSERT_NE(hSmall, nullptr);
    SetWindowPos(hSmall, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rcClient{};
    RECT rcList{};
    RECT rcField{};
    EXPECT_TRUE(PumpUntil([&] {
        GetClientRect(hSmall, &rcClient);
        GetWindowRect(GetDlgItem(hSmall, kSmallClipListId), &rcList);
        GetWindowRect(GetDlgItem(hSmall, kSmallClipFilterId), &rcField);
        return rcList.right - rcList.left == rcClient.right &&
               rcField.right - rcField.left == rcClient.right && rcField.bottom == rcList.top &&
               (rcField.bottom - rcField.top) + (rcList.bottom - rcList.top) == rcClient.bottom;
    })) << "the field and the list do not fill the resized window";
    EXPECT_TRUE(PumpUntil([&] {
        SetForegroundWindow(m_hNotepad);
        return FindSmallClip(m_korvex.MainWindow()) == nullptr;
    }));
    // The window is hidden first and stores its size as it goes.
    EXPECT_TRUE(PumpUntil([] {
        return Setting(L"SmallWindow", L"Width") == 300u &&
               Setting(L"SmallWindow", L"Height") == 200u;
    }));
    hSmall = OpenWithHotkey();
    ASSERT_NE(hSmall, nullptr);
    RECT rc{};
    GetWindowRect(hSmall, &rc);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 200);

    // A double click activates the row and closes the window from inside the list's own
    // notification; Korvex goes on.
    POINT ptRow{};
    ASSERT_TRUE(CRemoteListView(GetDlgItem(hSmall, kSmallClipListId))
                    .CellPoint(2, kSmallClipColumnText, ptRow));
    ASSERT_TRUE(ClickAt(ptRow, 2));
    EXPECT_TRUE(WaitForClosed());
    EXPECT_TRUE(WaitForRows({L"two", L"four", L"three", L"one"}));
    EXPECT_TRUE(m_korvex.Responds());
}

TEST_F(e2eSmallClip, DelAsksAndTheWindowStaysOpenWhileTheQuestionIsShownAndAfterwards) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"one", L"two"}));
    ASSERT_TRUE(StartNotepad());
    const HWND hSmall = OpenWithHotkey();
    ASSERT_NE(hSmall, nullptr);
    // The question is a message box owned by the small clip window; No, then Yes.
    for (const WPARAM nAnswer : {IDNO, IDYES}) {
        const HWND hBox = PressDelUntilAsked();
        ASSERT_NE(hBox, nullptr);
        EXPECT_EQ(GetWindow(hBox, GW_OWNER), hSmall);
        EXPECT_EQ(ControlText(hBox, 0xFFFF), L"Are you sure you want to remove this item?");
        EXPECT_EQ(FindSmallClip(m_korvex.MainWindow()), hSmall);
        // The hotkey while the question is open leaves the window alone. (The paste option's
        // message, posted after it, shows when the hotkey's message has been handled.)
        const std::optional<DWORD> optDoPaste = Setting(L"Options", L"DoPaste");
        PostMessageW(m_korvex.MainWindow(), kMsgShowClipWindow, 0, 0);
        PostMessageW(m_korvex.MainWindow(), kMsgPasteActivatedItem, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return Setting(L"Options", L"DoPaste") != optDoPaste; }));
        EXPECT_EQ(FindSmallClip(m_korvex.MainWindow()), hSmall);
        EXPECT_TRUE(IsWindowVisible(hBox));
        PostMessageW(hBox, WM_COMMAND, nAnswer, 0);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hBox); }));
        EXPECT_TRUE(WaitForRows(nAnswer == IDNO ? std::vector<std::wstring>{L"two", L"one"}
                                                : std::vector<std::wstring>{L"one"}));
        EXPECT_EQ(FindSmallClip(m_korvex.MainWindow()), hSmall);
    }
}

// Find-by-typing: the words in any order, without regard to case as the locale sees it, in the
// whole text; Enter pastes the filtered entry, Del removes only it, the rows follow the copies
// that match, Esc clears the filter and then closes the window.
TEST_F(e2eSmallClip, TypingFiltersTheRowsThatItemCommandsActOn) {
    ASSERT_TRUE(WriteSetting(L"Options", L"DoPaste", 1));
    ASSERT_TRUE(StartKorvex());
    const std::wstring strLong = std::wstring(240, L'.') + L" zebrafinch";
    ASSERT_TRUE(CopyEach({L"SELECT id FROM customers", L"select name from orders",
                          L"Customers list", L"cafe", L"CAF\u00C9"}));
    ASSERT_TRUE(Copy(strLong));
    ASSERT_TRUE(PumpUntil([&] { return RowTexts().size() == 6; }));
    ASSERT_TRUE(StartNotepad());
    HWND hSmall = OpenWithHotkey();
    ASSERT_NE(hSmall, nullptr);
    const CRemoteListView oList(GetDlgItem(hSmall, kSmallClipListId));
    const HWND hField = GetDlgItem(hSmall, kSmallClipFilterId);
    // The rows as their numbers in the whole history (the long entry is 1), or as texts.
    const auto ShowsNumbers = [&](const std::vector<std::wstring>& vecNumbers) {
        return PumpUntil([&] { return oList.Column(kSmallClipColumnNo) == vecNumbers; });
    };
    const auto ShowsTexts = [&](const std::vector<std::wstring>& vecTexts) {
        return PumpUntil([&] { return oList.Column(kSmallClipColumnText) == vecTexts; });
    };
    const auto Type = [](const std::wstring& strText) {
        return wintest::InjectText(strText) == strText.size() * 2;
    };

    ASSERT_TRUE(Type(L"sel cust"));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(hField) == L"sel cust"; }));
    EXPECT_TRUE(ShowsNumbers({L"6"}));
    EXPECT_EQ(SelectedRow(hSmall), 0);
    Press({{VK_BACK}, {VK_BACK}, {VK_BACK}, {VK_BACK}});
    EXPECT_TRUE(ShowsNumbers({L"5", L"6"}));
    // Ctrl+Backspace takes the last word: no word left, every entry.
    Press({{VK_CONTROL, VK_BACK}});
    EXPECT_TRUE(ShowsNumbers({L"1", L"2", L"3", L"4", L"5", L"6"}));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(hField).empty(); }));
    ASSERT_TRUE(Type(L"zebrafinch")); // past the 200 characters shown
    EXPECT_TRUE(ShowsNumbers({L"1"}));
    Press({{VK_ESCAPE}});
    EXPECT_TRUE(ShowsNumbers({L"1", L"2", L"3", L"4", L"5", L"6"}));
    EXPECT_EQ(FindSmallClip(m_korvex.MainWindow()), hSmall);
    ASSERT_TRUE(Type(L"caf\u00E9"));
    EXPECT_TRUE(ShowsTexts({L"CAF\u00C9"}));
    Press({{VK_RETURN}});
    EXPECT_TRUE(WaitForClosed());
    EXPECT_TRUE(WaitForNotepad(L"abCAF\u00C9"));

    // Each opening starts with every entry. A copy that matches comes in at the top and the
    // selection stays on its entry; one that does not match stays out.
    ASSERT_EQ(OpenWithHotkey(), hSmall);
    EXPECT_EQ(oList.RowCount(), 6);
    ASSERT_TRUE(Type(L"CUST"));
    EXPECT_TRUE(ShowsTexts({L"Customers list", L"SELECT id FROM customers"}));
    ASSERT_TRUE(Copy(L"custard"));
    EXPECT_TRUE(ShowsTexts({L"custard", L"Customers list", L"SELECT id FROM customers"}));
    EXPECT_EQ(SelectedRow(hSmall), 1);
    ASSERT_TRUE(Copy(L"plain"));
    ASSERT_TRUE(PumpUntil([&] { return RowTexts().size() == 8; }));
    EXPECT_TRUE(ShowsTexts({L"custard", L"Customers list", L"SELECT id FROM customers"}));

    // Del at the end of the field removes the selected entry, and no other.
    const HWND hBox = PressDelUntilAsked();
    ASSERT_NE(hBox, nullptr);
    PostMessageW(hBox, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(ShowsTexts({L"custard", L"SELECT id FROM customers"}));
    EXPECT_TRUE(PumpUntil([&] {
        const std::vector<std::wstring> vecRows = RowTexts();
        return vecRows.size() == 7 &&
               std::find(vecRows.begin(), vecRows.end(), L"Customers list") == vecRows.end();
    }));
    // No match: no row, and Enter does nothing.
    ASSERT_TRUE(Type(L"qqq"));
    EXPECT_TRUE(PumpUntil([&] { return oList.RowCount() == 0; }));
    Press({{VK_RETURN}});
    EXPECT_EQ(FindSmallClip(m_korvex.MainWindow()), hSmall);
    Press({{VK_ESCAPE}});
    EXPECT_TRUE(PumpUntil([&] { return oList.RowCount() == 7; }));
    Press({{VK_ESCAPE}});
    EXPECT_TRUE(WaitForClosed());
}

TEST_F(e2eSmallClip, AThousandOpeningsThroughEveryClosePathLeaveNothingBehind) {
    ASSERT_TRUE(WriteSetting(L"Options", L"DoPaste", 0));
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"one", L"two"}));
    ASSERT_TRUE(StartNotepad());
    const HWND hMain = m_korvex.MainWindow();
    const DWORD nProcessId = m_korvex.ProcessId();
    // The first opening makes what the program keeps for good (classes, cached resources, the
    // window itself, which every later opening shows again).
    ASSERT_TRUE(PostMessageW(hMain, kMsgShowClipWindow, 0, 0));
    const HWND hKept = WaitForSmallClip();
    ASSERT_NE(hKept, nullptr);
    ASSERT_TRUE(PostMessageW(hMain, kMsgShowClipWindow, 0, 0));
    ASSERT_TRUE(WaitForClosed());
    const size_t nWindowsClosed = CountGui(nProcessId).nWindows;
    const GUI_COUNTS before = CountGui(nProcessId);

    enum class ClosePath { Hotkey, Esc, Paste, Deactivation };
    const ClosePath paths[] = {ClosePath::Hotkey, ClosePath::Esc, ClosePath::Paste,
                               ClosePath::Deactivation};
    for (int i = 0; i < 1000; ++i) {
        const ClosePath nPath = paths[i % 4];
        ASSERT_TRUE(PostMessageW(hMain, kMsgShowClipWindow, 0, 0));
        ASSERT_EQ(WaitForSmallClip(), hKept) << "opening " << i;
        switch (nPath) {
        case ClosePath::Hotkey:
            PostMessageW(hMain, kMsgShowClipWindow, 0, 0);
            break;
        case ClosePath::Esc:
            PressUntil({{VK_ESCAPE}}, [&] { return FindSmallClip(hMain) == nullptr; });
            break;
        case ClosePath::Paste:
            PressUntil({{VK_RETURN}}, [&] { return FindSmallClip(hMain) == nullptr; });
            break;
        case ClosePath::Deactivation:
            PumpUntil([&] {
                SetForegroundWindow(m_hNotepad);
                return FindSmallClip(hMain) == nullptr;
            });
            break;
        }
        ASSERT_TRUE(WaitForClosed())
            << "opening " << i << ", close path " << static_cast<int>(nPath);
    }
    EXPECT_TRUE(m_korvex.Responds());
    EXPECT_TRUE(PumpUntil([&] { return CountGui(nProcessId).nWindows == nWindowsClosed; }))
        << "windows: " << CountGui(nProcessId).nWindows << ", before: " << nWindowsClosed;
    const GUI_COUNTS after = CountGui(nProcessId);
    EXPECT_EQ(after.nUser, before.nUser);
    EXPECT_EQ(after.nGdi, before.nGdi);

    // Exit while the window is open: the program ends normally.
    ASSERT_TRUE(PostMessageW(hMain, kMsgShowClipWindow, 0, 0));
    ASSERT_NE(WaitForSmallClip(), nullptr);
    EXPECT_TRUE(m_korvex.ExitWith(kCmdFileExit));
    EXPECT_EQ(m_korvex.ExitCode(), 0u);
}

} // namespace
} // namespace e2e
