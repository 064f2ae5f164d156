#include "framework/MessageBox.h"

#include "framework/ModalState.h"
#include "framework/Wnd.h"

namespace {

MessageBoxFunction g_pfnMessageBox = &MessageBoxW;
const wchar_t* g_pszAppTitle = L"";

} // namespace

const wchar_t* GetAppTitle() {
    return g_pszAppTitle;
}

void SetAppTitle(const wchar_t* pszTitle) {
    g_pszAppTitle = pszTitle != nullptr ? pszTitle : L"";
}

int KorvexMessageBox(HWND hOwner, const wchar_t* pszText, UINT nFlags) {
    CModalScope modal;
    return g_pfnMessageBox(CWnd::GetSafeOwner(hOwner), pszText, GetAppTitle(), nFlags);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction pfn) {
    MessageBoxFunction pfnPrevious = g_pfnMessageBox;
    g_pfnMessageBox = pfn ? pfn : &MessageBoxW;
    return pfnPrevious;
}
