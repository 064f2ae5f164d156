#include "framework/MessageBox.h"

#include "framework/Centre.h"
#include "framework/Foreground.h"
#include "framework/ModalState.h"
#include "framework/Wnd.h"

namespace {

MessageBoxFunction g_pfnMessageBox = &MessageBoxW;
const wchar_t* g_pszAppTitle = L"";

// While a box opens: its activation comes before it is shown, the moment to move it.
thread_local HHOOK g_hCentringHook = nullptr;

LRESULT CALLBACK CentreBoxOnActivation(int nCode, WPARAM wParam, LPARAM lParam) {
    const HHOOK hHook = g_hCentringHook;
    if (nCode == HCBT_ACTIVATE && hHook != nullptr) {
        const auto hWnd = reinterpret_cast<HWND>(wParam);
        wchar_t szClass[8] = {};
        if (GetClassNameW(hWnd, szClass, 8) > 0 && lstrcmpW(szClass, L"#32770") == 0) {
            g_hCentringHook = nullptr;
            UnhookWindowsHookEx(hHook);
            CentreOverOwner(hWnd, GetWindow(hWnd, GW_OWNER));
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

const wchar_t* GetAppTitle() {
    return g_pszAppTitle;
}

void SetAppTitle(const wchar_t* pszTitle) {
    g_pszAppTitle = pszTitle != nullptr ? pszTitle : L"";
}

int KorvexMessageBox(HWND hOwner, const wchar_t* pszText, UINT nFlags) {
    CModalScope modal;
    const HWND hWndBefore = ForeignForeground();
    if (g_hCentringHook == nullptr) {
        g_hCentringHook =
            SetWindowsHookExW(WH_CBT, &CentreBoxOnActivation, nullptr, GetCurrentThreadId());
    }
    const int nResult = g_pfnMessageBox(CWnd::GetSafeOwner(hOwner), pszText, GetAppTitle(), nFlags);
    if (g_hCentringHook != nullptr) { // a box that never opened (a test's own function)
        UnhookWindowsHookEx(g_hCentringHook);
        g_hCentringHook = nullptr;
    }
    GiveForegroundBack(hWndBefore);
    return nResult;
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction pfn) {
    MessageBoxFunction pfnPrevious = g_pfnMessageBox;
    g_pfnMessageBox = pfn ? pfn : &MessageBoxW;
    return pfnPrevious;
}
