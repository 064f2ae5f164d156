#include "KorvexDialog.h"

#include "tests/support/win/Keyboard.h"
#include "tests/support/win/MessagePump.h"

#include <algorithm>

namespace e2e {

std::vector<HWND> FindDialogs(DWORD nProcess, const wchar_t* pszTitle) {
    std::vector<HWND> vecFound;
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, L"#32770", pszTitle); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, L"#32770", pszTitle)) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == nProcess && IsWindowVisible(hWnd)) {
            vecFound.push_back(hWnd);
        }
    }
    return vecFound;
}

HWND WaitForDialog(DWORD nProcess, const wchar_t* pszTitle, DWORD nTimeoutMs) {
    std::vector<HWND> vecFound;
    wintest::PumpUntil([&] { return !(vecFound = FindDialogs(nProcess, pszTitle)).empty(); },
                       nTimeoutMs);
    return vecFound.empty() ? nullptr : vecFound.front();
}

std::wstring ControlText(HWND hDlg, int nId) {
    wchar_t aText[256] = {};
    GetDlgItemTextW(hDlg, nId, aText, 256);
    return aText;
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

::testing::AssertionResult TypeInto(HWND hWnd, const std::vector<std::vector<WORD>>& vecChords) {
    SetForegroundWindow(hWnd);
    if (!wintest::PumpUntil([&] { return GetForegroundWindow() == hWnd; })) {
        return ::testing::AssertionFailure() << "the window did not come to the foreground";
    }
    // The system picks the window a key goes to as the key is queued, so a key typed behind one
    // that moves the focus (a mnemonic, Tab) must wait until the program has moved it.
    const DWORD nThread = GetWindowThreadProcessId(hWnd, nullptr);
    const auto fnFocus = [nThread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(nThread, &info) ? info.hwndFocus : nullptr;
    };
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

} // namespace e2e
