#include "KorvexDialog.h"

#include "tests/support/win/Keyboard.h"
#include "tests/support/win/MessagePump.h"

namespace e2e {

namespace {

struct SEARCH {
    DWORD nProcess;
    const wchar_t* pszTitle;
    std::vector<HWND> vecFound;
};

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<SEARCH*>(lParam);
    DWORD nProcess = 0;
    GetWindowThreadProcessId(hWnd, &nProcess);
    wchar_t aClass[16] = {};
    wchar_t aTitle[64] = {};
    GetClassNameW(hWnd, aClass, 16);
    InternalGetWindowText(hWnd, aTitle, 64);
    if (nProcess == pSearch->nProcess && IsWindowVisible(hWnd) && wcscmp(aClass, L"#32770") == 0 &&
        wcscmp(aTitle, pSearch->pszTitle) == 0) {
        pSearch->vecFound.push_back(hWnd);
    }
    return TRUE;
}

std::vector<HWND> FindDialogs(DWORD nProcess, const wchar_t* pszTitle) {
    SEARCH oSearch{nProcess, pszTitle, {}};
    EnumWindows(&CollectDialog, reinterpret_cast<LPARAM>(&oSearch));
    return oSearch.vecFound;
}

} // namespace

HWND FindDialog(DWORD nProcess, const wchar_t* pszTitle) {
    const std::vector<HWND> vecFound = FindDialogs(nProcess, pszTitle);
    return vecFound.empty() ? nullptr : vecFound.front();
}

HWND WaitForDialog(DWORD nProcess, const wchar_t* pszTitle, DWORD nTimeoutMs) {
    HWND hDlg = nullptr;
    wintest::PumpUntil([&] { return (hDlg = FindDialog(nProcess, pszTitle)) != nullptr; },
                       nTimeoutMs);
    return hDlg;
}

int CountDialogs(DWORD nProcess, const wchar_t* pszTitle) {
    return static_cast<int>(FindDialogs(nProcess, pszTitle).size());
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

std::wstring MessageBoxText(HWND hBox) {
    return ControlText(hBox, 0xFFFF); // the text's control in every message box
}

::testing::AssertionResult TypeInto(HWND hWnd, const std::vector<std::vector<WORD>>& vecChords) {
    SetForegroundWindow(hWnd);
    if (!wintest::PumpUntil([&] { return GetForegroundWindow() == hWnd; })) {
        return ::testing::AssertionFailure() << "the window did not come to the foreground";
    }
    std::vector<wintest::KeyStroke> vecStrokes;
    for (const std::vector<WORD>& vecChord : vecChords) {
        for (const WORD nKey : vecChord) {
            vecStrokes.push_back(wintest::KeyDown(nKey));
        }
        for (auto it = vecChord.rbegin(); it != vecChord.rend(); ++it) {
            vecStrokes.push_back(wintest::KeyUp(*it));
        }
    }
    if (wintest::InjectKeys(vecStrokes, 5000) != vecStrokes.size()) {
        return ::testing::AssertionFailure() << "SendInput did not take the keys within 5 s";
    }
    return ::testing::AssertionSuccess();
}

} // namespace e2e
