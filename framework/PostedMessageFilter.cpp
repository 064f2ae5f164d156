#include "framework/PostedMessageFilter.h"

#include "framework/Wnd.h"

namespace {

LRESULT CALLBACK GetMessageHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION) {
        auto* pMsg = reinterpret_cast<MSG*>(lParam);
        if (CPostedMessageFilter::IsSentOnly(pMsg->message)) {
            pMsg->message = WM_NULL;
            pMsg->wParam = 0;
            pMsg->lParam = 0;
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

CPostedMessageFilter::CPostedMessageFilter()
    : m_hHook(SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId())) {}

CPostedMessageFilter::~CPostedMessageFilter() {
    if (m_hHook != nullptr) {
        UnhookWindowsHookEx(m_hHook);
    }
}

bool CPostedMessageFilter::IsSentOnly(UINT nMsg) {
    return nMsg == WM_NOTIFY || nMsg == WM_REFLECTED_NOTIFY || nMsg == WM_MOVING ||
           nMsg == WM_SIZING;
}
