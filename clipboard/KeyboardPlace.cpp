#include "KeyboardPlace.h"

#include <cwchar>

namespace {

// Edit controls, the edit fields of combo boxes, and rich edits answer EM_GETSEL and EM_SETSEL.
bool IsEditField(HWND hWnd) {
    wchar_t szClass[32] = {};
    if (GetClassNameW(hWnd, szClass, 32) == 0) {
        return false;
    }
    return _wcsicmp(szClass, L"Edit") == 0 || _wcsnicmp(szClass, L"RichEdit", 8) == 0;
}

GUITHREADINFO ThreadInfo(HWND hWnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (hWnd == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info)) {
        info = GUITHREADINFO{};
    }
    return info;
}

} // namespace

KEYBOARD_PLACE RememberKeyboardPlace() {
    KEYBOARD_PLACE oPlace;
    oPlace.hWndActive = GetForegroundWindow();
    const GUITHREADINFO info = ThreadInfo(oPlace.hWndActive);
    oPlace.hWndFocus = info.hwndFocus;
    if (oPlace.hWndFocus != nullptr && IsEditField(oPlace.hWndFocus)) {
        // The pointer form: the packed return value holds only 16 bits of each end. A hung
        // program does not hold us up.
        DWORD nStart = 0;
        DWORD nEnd = 0;
        DWORD_PTR nResult = 0;
        if (SendMessageTimeoutW(oPlace.hWndFocus, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                                reinterpret_cast<LPARAM>(&nEnd), SMTO_ABORTIFHUNG, 200,
                                &nResult) != 0) {
            oPlace.bSelection = true;
            oPlace.nSelStart = nStart;
            oPlace.nSelEnd = nEnd;
        }
    }
    if (info.hwndCaret != nullptr) {
        POINT pt{info.rcCaret.left, info.rcCaret.bottom};
        if (ClientToScreen(info.hwndCaret, &pt)) {
            oPlace.bCaret = true;
            oPlace.ptCaret = pt;
        }
    }
    return oPlace;
}

bool HasTakenForeground(const KEYBOARD_PLACE& oPlace) {
    return oPlace.hWndActive != nullptr && GetForegroundWindow() == oPlace.hWndActive &&
           ThreadInfo(oPlace.hWndActive).hwndFocus != nullptr;
}

void RestoreKeyboardFocus(const KEYBOARD_PLACE& oPlace) {
    if (oPlace.hWndFocus == nullptr || !IsWindow(oPlace.hWndFocus) ||
        GetForegroundWindow() != oPlace.hWndActive ||
        GetAncestor(oPlace.hWndFocus, GA_ROOT) != GetAncestor(oPlace.hWndActive, GA_ROOT)) {
        return;
    }
    // A round trip first: the target handles the messages of its activation (its own focus
    // handling, which may select a field's whole text) before ours.
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(oPlace.hWndActive, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &nResult);
    if (ThreadInfo(oPlace.hWndActive).hwndFocus != oPlace.hWndFocus) {
        // SetFocus reaches another thread's window only while the two share their input state.
        const DWORD nOurs = GetCurrentThreadId();
        const DWORD nTheirs = GetWindowThreadProcessId(oPlace.hWndFocus, nullptr);
        const bool bAttached = nTheirs != nOurs && AttachThreadInput(nOurs, nTheirs, TRUE);
        SetFocus(oPlace.hWndFocus);
        if (bAttached) {
            AttachThreadInput(nOurs, nTheirs, FALSE);
        }
    }
    if (oPlace.bSelection) {
        SendMessageTimeoutW(oPlace.hWndFocus, EM_SETSEL, oPlace.nSelStart, oPlace.nSelEnd,
                            SMTO_ABORTIFHUNG, 200, &nResult);
    }
}
