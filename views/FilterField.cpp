#include "FilterField.h"

#include <commctrl.h>

#include <algorithm>

namespace {

bool IsKeyDown(int nVirtualKey) {
    return (GetKeyState(nVirtualKey) & 0x8000) != 0;
}

bool IsListMovementKey(WPARAM nKey) {
    switch (nKey) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return true;
    default:
        return false;
    }
}

} // namespace

void CFilterField::Attach(HWND hEdit, HWND hList, std::function<void()> fnChanged) {
    m_hEdit = hEdit;
    m_hList = hList;
    m_fnChanged = std::move(fnChanged);
}

std::u16string CFilterField::GetText() const {
    std::u16string strText;
    if (m_hEdit != nullptr) {
        strText.resize(static_cast<size_t>(GetWindowTextLengthW(m_hEdit)) + 1);
        const int nLength = GetWindowTextW(m_hEdit, reinterpret_cast<wchar_t*>(strText.data()),
                                           static_cast<int>(strText.size()));
        strText.resize(static_cast<size_t>(nLength > 0 ? nLength : 0));
    }
    return strText;
}

bool CFilterField::Clear() {
    if (!HasText()) {
        return false;
    }
    SetWindowTextW(m_hEdit, L""); // its EN_CHANGE runs the handler
    return true;
}

bool CFilterField::PreTranslateMessage(const MSG* pMsg) {
    if (m_hEdit == nullptr) {
        return false;
    }
    if (pMsg->hwnd == m_hList && pMsg->message == WM_CHAR) {
        // A printable character typed into the list starts the field.
        const auto ch = static_cast<wchar_t>(pMsg->wParam);
        if (ch < L' ' || ch == 0x7F) {
            return false;
        }
        ShowWindow(m_hEdit, SW_SHOW);
        SetFocus(m_hEdit);
        const int nEnd = GetWindowTextLengthW(m_hEdit); // typing goes on at the end
        SendMessageW(m_hEdit, EM_SETSEL, static_cast<WPARAM>(nEnd), nEnd);
        SendMessageW(m_hEdit, WM_CHAR, pMsg->wParam, pMsg->lParam);
        return true;
    }
    if (pMsg->hwnd != m_hEdit || pMsg->message != WM_KEYDOWN) {
        return false;
    }
    if (IsListMovementKey(pMsg->wParam)) {
        SendMessageW(m_hList, WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
        return true;
    }
    if (pMsg->wParam == VK_BACK && IsKeyDown(VK_CONTROL)) {
        RemoveWordBeforeCaret();
        return true;
    }
    if (pMsg->wParam == VK_DELETE && !IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_SHIFT)) {
        // Delete edits the field while there is something to delete; at the end of its text
        // it goes on to the list's shortcuts (the item command).
        DWORD nStart = 0;
        DWORD nEnd = 0;
        SendMessageW(m_hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                     reinterpret_cast<LPARAM>(&nEnd));
        if (nStart != nEnd || nEnd < static_cast<DWORD>(GetWindowTextLengthW(m_hEdit))) {
            TranslateMessage(pMsg);
            DispatchMessageW(pMsg);
            return true;
        }
    }
    return false;
}

void CFilterField::RemoveWordBeforeCaret() {
    DWORD nStart = 0;
    DWORD nEnd = 0;
    SendMessageW(m_hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                 reinterpret_cast<LPARAM>(&nEnd));
    if (nStart == nEnd) {
        // The spaces before the caret, then the word before them.
        const std::u16string strText = GetText();
        size_t nFrom = std::min<size_t>(nStart, strText.size());
        while (nFrom > 0 && strText[nFrom - 1] == u' ') {
            --nFrom;
        }
        while (nFrom > 0 && strText[nFrom - 1] != u' ') {
            --nFrom;
        }
        nStart = static_cast<DWORD>(nFrom);
    }
    SendMessageW(m_hEdit, EM_SETSEL, nStart, nEnd);
    SendMessageW(m_hEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

bool CFilterField::OnCommandNotify(UINT nCode, HWND hCtrl) {
    if (hCtrl == nullptr || hCtrl != m_hEdit) {
        return false;
    }
    if (nCode == EN_CHANGE && m_fnChanged) {
        m_fnChanged();
    }
    return true;
}

int CFilterField::GetHeight() const {
    if (m_hEdit == nullptr) {
        return 0;
    }
    TEXTMETRICW tm{};
    const HDC hdc = GetDC(m_hEdit);
    const HGDIOBJ hOld =
        SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(m_hEdit, WM_GETFONT, 0, 0)));
    GetTextMetricsW(hdc, &tm);
    SelectObject(hdc, hOld);
    ReleaseDC(m_hEdit, hdc);
    // A sunken border above and below, and a little room around the line.
    return tm.tmHeight + tm.tmExternalLeading + 4 * GetSystemMetrics(SM_CYEDGE) + 2;
}
