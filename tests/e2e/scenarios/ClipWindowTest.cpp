// The small clip window: the "Show Clip Window" hotkey opens it at the cursor over the program
// the user works in; Enter activates the selected entry and, with the paste option on, types it
// into that program.

#include "ClipboardReader.h"
#include "InputInjector.h"
#include "KorvexContract.h"
#include "KorvexScenario.h"
#include "Registry.h"
#include "RemoteListView.h"
#include "Wait.h"

namespace e2e {
namespace {

using e2eClipWindow = KorvexScenario;

constexpr int kClipListId = 1000;
constexpr int kClipColumnText = 3;

// A shown top-level window of Korvex other than its main window, holding the list 1000.
HWND FindClipWindow(HWND hMainWindow) {
    DWORD nKorvex = 0;
    GetWindowThreadProcessId(hMainWindow, &nKorvex);
    for (HWND hWnd = GetTopWindow(nullptr); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT)) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == nKorvex && hWnd != hMainWindow && IsWindowVisible(hWnd) &&
            GetDlgItem(hWnd, kClipListId) != nullptr) {
            return hWnd;
        }
    }
    return nullptr;
}

TEST_F(e2eClipWindow, OpensAtTheCursorAndEnterPastesTheChosenEntryIntoTheFocusedProgram) {
    ASSERT_TRUE(WriteSetting(L"Options", L"DoPaste", 1));
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"older entry", L"newest entry"}));

    const POINT ptCursor{500, 400};
    ASSERT_TRUE(SetCursorPos(ptCursor.x, ptCursor.y));
    ASSERT_TRUE(WaitUntil(
        [&] {
            POINT pt{};
            return GetCursorPos(&pt) && pt.x == ptCursor.x && pt.y == ptCursor.y;
        },
        2000));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, '0'}));
    HWND hClip = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hClip = FindClipWindow(m_korvex.MainWindow())); }, 3000))
        << "the small clip window did not open";

    // At the cursor, with its default size, the history in it and the head row selected.
    RECT rcClip{};
    ASSERT_TRUE(GetWindowRect(hClip, &rcClip));
    EXPECT_EQ(ptCursor.x, rcClip.left);
    EXPECT_EQ(ptCursor.y, rcClip.top);
    EXPECT_EQ(415, rcClip.right - rcClip.left);
    EXPECT_EQ(250, rcClip.bottom - rcClip.top);
    CRemoteListView list(GetDlgItem(hClip, kClipListId));
    EXPECT_EQ(std::vector<std::wstring>({L"newest entry", L"older entry"}),
              list.Column(kClipColumnText));
    EXPECT_TRUE(list.IsSelected(0));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hClip; }, 3000));

    // Down and Enter: the older entry goes to the clipboard, the window closes, and the text is
    // typed into the target window.
    ASSERT_TRUE(PressKey(VK_DOWN).bDone);
    ASSERT_TRUE(WaitUntil([&] { return list.IsSelected(1); }, 3000));
    ASSERT_TRUE(PressKey(VK_RETURN).bDone);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hClip); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return Target().EditText() == L"older entry"; }, 3000))
        << "the target window holds \"" << ToUtf8(Target().EditText()) << "\"";
    EXPECT_EQ(std::optional<std::wstring>(L"older entry"), ReadClipboardText());
    ASSERT_TRUE(Copy(L"mark"));
    EXPECT_TRUE(WaitForRows({L"mark", L"older entry", L"newest entry"}));
}

TEST_F(e2eClipWindow, TheHotkeyAgainOrEscClosesItWithoutActivating) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"one", L"two"}));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, '0'}));
    HWND hClip = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hClip = FindClipWindow(m_korvex.MainWindow())); }, 3000));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, '0'}));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hClip); }, 3000));

    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, '0'}));
    ASSERT_TRUE(WaitUntil([&] { return (hClip = FindClipWindow(m_korvex.MainWindow())); }, 3000));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hClip; }, 3000));
    ASSERT_TRUE(PressKey(VK_ESCAPE).bDone);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hClip); }, 3000));
    EXPECT_EQ(L"", Target().EditText());
    EXPECT_EQ(std::optional<std::wstring>(L"two"), ReadClipboardText());
    EXPECT_TRUE(WaitForRows({L"two", L"one"}));
}

} // namespace
} // namespace e2e
