#include "KorvexDialog.h"

#include "RemoteMemory.h"

#include "tests/support/win/Keyboard.h"
#include "tests/support/win/MessagePump.h"

#include <algorithm>

namespace e2e {
namespace {

// The foreground window whose focus change has released the keys injected before it.
HWND g_hSettledFront = nullptr;

} // namespace

std::vector<HWND> ShownWindows(DWORD nProcess, const wchar_t* pszClass, const wchar_t* pszTitle) {
    std::vector<HWND> vecFound;
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, pszClass, pszTitle); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, pszClass, pszTitle)) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == nProcess && IsWindowVisible(hWnd)) {
            vecFound.push_back(hWnd);
        }
    }
    return vecFound;
}

HWND WaitForDialog(DWORD nProcess, const wchar_t* pszTitle, DWORD nTimeoutMs, bool bActive) {
    HWND hFound = nullptr;
    wintest::PumpUntil(
        [&] {
            for (const HWND hWnd : ShownWindows(nProcess, L"#32770", pszTitle)) {
                if (!bActive || GetForegroundWindow() == hWnd) {
                    hFound = hWnd;
                    return true;
                }
            }
            return false;
        },
        nTimeoutMs);
    return hFound;
}

GUITHREADINFO ThreadInfo(HWND hWnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info);
    return info;
}

std::wstring WindowText(HWND hWnd) {
    // However long (the item editor shows whole entries); empty when the window does not answer.
    const auto Send = [&](UINT nMsg, WPARAM wParam, LPARAM lParam) {
        return static_cast<size_t>(std::max<LRESULT>(0, SendWithin(hWnd, nMsg, wParam, lParam)));
    };
    std::wstring strText(Send(WM_GETTEXTLENGTH, 0, 0) + 1, 0);
    strText.resize(Send(WM_GETTEXT, strText.size(), reinterpret_cast<LPARAM>(strText.data())));
    return strText;
}

std::wstring ControlText(HWND hDlg, int nId) {
    return WindowText(GetDlgItem(hDlg, nId));
}

bool IsTicked(HWND hDlg, int nId) {
    return SendDlgItemMessageW(hDlg, nId, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring ComboSelection(HWND hDlg, int nId) {
    const LRESULT nSelected = SendDlgItemMessageW(hDlg, nId, CB_GETCURSEL, 0, 0);
    wchar_t aText[64] = {};
    if (nSelected >= 0 && SendDlgItemMessageW(hDlg, nId, CB_GETLBTEXTLEN, nSelected, 0) < 64) {
        SendDlgItemMessageW(hDlg, nId, CB_GETLBTEXT, nSelected, reinterpret_cast<LPARAM>(aText));
    }
    return aText;
}

::testing::AssertionResult Press(const std::vector<std::vector<WORD>>& vecChords) {
    // The system picks the window a key goes to as the key is queued: type only once the
    // foreground window has put the focus on one of its controls, and type a key behind one that
    // moves the focus (a mnemonic, Tab) only once the program has moved it.
    const auto fnFocus = [] {
        const HWND hForeground = GetForegroundWindow();
        const HWND hFocus = ThreadInfo(hForeground).hwndFocus;
        return hFocus == hForeground || IsChild(hForeground, hFocus) ? hFocus : nullptr;
    };
    if (!wintest::PumpUntil([&] { return fnFocus() != nullptr; })) {
        return ::testing::AssertionFailure() << "no window of the foreground program has the focus";
    }
    // A window that came to the front since the last keys (a dialog that opened, the small clip
    // window) may still release what the next chord holds: wait for that first.
    if (const HWND hForeground = GetForegroundWindow(); hForeground != g_hSettledFront) {
        wintest::SettleFocusChange();
        g_hSettledFront = hForeground;
    }
    for (const std::vector<WORD>& vecChord : vecChords) {
        std::vector<wintest::KeyStroke> vecStrokes;
        for (const WORD nKey : vecChord) {
            vecStrokes.push_back(wintest::KeyDown(nKey));
        }
        for (auto it = vecChord.rbegin(); it != vecChord.rend(); ++it) {
            vecStrokes.push_back(wintest::KeyUp(*it));
        }
        const HWND hFocusBefore = fnFocus();
        if (wintest::InjectKeys(vecStrokes, 5000) != vecStrokes.size()) {
            return ::testing::AssertionFailure() << "SendInput did not take the keys within 5 s";
        }
        const bool bMovesFocus = std::find_if(vecChord.begin(), vecChord.end(), [](WORD nKey) {
                                     return nKey == VK_MENU || nKey == VK_TAB;
                                 }) != vecChord.end();
        if (bMovesFocus) {
            // Bounded: a mnemonic of the control that has the focus already moves nothing.
            wintest::PumpUntil([&] { return fnFocus() != hFocusBefore; }, 500);
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult TypeInto(HWND hWnd, const std::vector<std::vector<WORD>>& vecChords) {
    if (!wintest::SetForegroundSettled(hWnd)) {
        return ::testing::AssertionFailure() << "the window did not come to the foreground";
    }
    g_hSettledFront = hWnd;
    return Press(vecChords);
}

} // namespace e2e
