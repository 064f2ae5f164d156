// Where the keyboard goes back to: another program's edit field and combo box get the focus and
// the selection they had before a window of ours took the foreground, although the combo box
// selects its whole text and the plain window puts the focus on itself when activated.

#include <gtest/gtest.h>

#include <windows.h>

#include "clipboard/KeyboardPlace.h"
#include "tests/support/win/ChildProcess.h"
#include "tests/support/win/Keyboard.h"
#include "tests/support/win/MessagePump.h"

namespace {

HWND FocusOf(HWND hWnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info) ? info.hwndFocus
                                                                            : nullptr;
}

} // namespace

TEST(KeyboardPlace, TheFocusedFieldGetsItsFocusAndSelectionBackAfterOurWindowHadTheForeground) {
    wintest::CChildProcess oTarget;
    HWND hTarget = nullptr;
    ASSERT_TRUE(oTarget.Start(L"\"" + wintest::ProgramPath(L"fieldtarget.exe") + L"\""));
    // Shown once its fields exist: the window itself can be found before they do.
    ASSERT_TRUE(wintest::PumpUntil(
        [&] {
            hTarget = FindWindowW(L"KorvexFieldTarget", nullptr);
            return hTarget != nullptr && IsWindowVisible(hTarget);
        },
        10000));
    const HWND hCombo = GetDlgItem(hTarget, 2);
    const struct {
        const char* pszField;
        HWND hField; // the window with the focus: the combo box's own edit field for the combo
    } arrFields[] = {
        {"edit field", GetDlgItem(hTarget, 1)},
        {"combo box", FindWindowExW(hCombo, nullptr, L"Edit", nullptr)},
    };
    for (const auto& oField : arrFields) {
        SCOPED_TRACE(oField.pszField);
        ASSERT_NE(oField.hField, nullptr);
        SendMessageW(oField.hField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0123456789"));
        SetForegroundWindow(hTarget);
        ASSERT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == hTarget; }));
        // Tab goes from field to field (a mouse click could still drag the selection after it).
        ASSERT_TRUE(wintest::PumpUntil([&] {
            wintest::InjectKeys(wintest::Chord({VK_TAB}));
            return wintest::PumpUntil([&] { return FocusOf(hTarget) == oField.hField; }, 500);
        }));
        ASSERT_TRUE(wintest::PumpUntil([&] {
            SendMessageW(oField.hField, EM_SETSEL, 4, 7);
            DWORD nStart = 0;
            DWORD nEnd = 0;
            SendMessageW(oField.hField, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                         reinterpret_cast<LPARAM>(&nEnd));
            return nStart == 4 && nEnd == 7;
        }));
        const KEYBOARD_PLACE oPlace = RememberKeyboardPlace();
        EXPECT_EQ(oPlace.hWndActive, hTarget);
        EXPECT_EQ(oPlace.hWndFocus, oField.hField);
        EXPECT_TRUE(oPlace.bSelection && oPlace.nSelStart == 4 && oPlace.nSelEnd == 7);
        EXPECT_TRUE(oPlace.bCaret);

        const HWND hOurs = CreateWindowExW(0, L"STATIC", L"ours", WS_POPUP | WS_VISIBLE, 50, 50,
                                           100, 100, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(hOurs);
        ASSERT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == hOurs; }));
        SetForegroundWindow(oPlace.hWndActive);
        DestroyWindow(hOurs);
        ASSERT_TRUE(wintest::PumpUntil([&] { return HasTakenForeground(oPlace); }));
        RestoreKeyboardFocus(oPlace);

        EXPECT_EQ(FocusOf(hTarget), oField.hField);
        DWORD nStart = 0;
        DWORD nEnd = 0;
        SendMessageW(oField.hField, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                     reinterpret_cast<LPARAM>(&nEnd));
        EXPECT_EQ(nStart, 4u);
        EXPECT_EQ(nEnd, 7u);
    }
    PostMessageW(hTarget, WM_CLOSE, 0, 0);
    EXPECT_TRUE(oTarget.WaitForExit(10000));
}
