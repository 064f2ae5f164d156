#include "ClipboardWatcher.h"

#include "MessagePump.h"

namespace {

const wchar_t kWatcherClass[] = L"KorvexClipboardTestWatcher";

} // namespace

CClipboardWatcher::CClipboardWatcher(uint32_t nMaxCopySize) {
    m_oSettings.m_nMaxCopySize = nMaxCopySize;
    WNDCLASSW oClass{};
    oClass.lpfnWndProc = &CClipboardWatcher::WindowProc;
    oClass.hInstance = GetModuleHandleW(nullptr);
    oClass.lpszClassName = kWatcherClass;
    RegisterClassW(&oClass); // fails harmlessly when a previous watcher registered it
    m_hWnd = CreateWindowExW(0, kWatcherClass, L"clipboard watcher", WS_OVERLAPPED, 0, 0, 10, 10,
                             nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (m_hWnd == nullptr) {
        return;
    }
    m_oPort.SetOwner(m_hWnd);
    m_pDoc = std::make_unique<CKorvexDoc>(m_oPort, m_oSettings);
    m_pRetry = std::make_unique<CClipboardReadRetry>(*m_pDoc, m_hWnd, kRetryTimerId);
    // Joining sends WM_DRAWCLIPBOARD at once; that one is not a change and is dropped.
    m_bJoining = true;
    m_hNextViewer = SetClipboardViewer(m_hWnd);
    m_bJoining = false;
}

CClipboardWatcher::~CClipboardWatcher() {
    if (m_hWnd == nullptr) {
        return;
    }
    ChangeClipboardChain(m_hWnd, m_hNextViewer);
    m_pRetry.reset();
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
    m_pDoc.reset();
}

std::u16string CClipboardWatcher::GetEntryText(int32_t nIndex) {
    CLIP_ITEM* pItem = m_pDoc->FindItem(nIndex);
    return pItem ? pItem->strText : u"<none>";
}

bool CClipboardWatcher::WaitForEntryCount(int32_t nCount, DWORD nTimeoutMs) {
    return PumpUntil([&] { return m_pDoc->GetItemCount() == nCount; }, nTimeoutMs);
}

LRESULT CALLBACK CClipboardWatcher::WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam,
                                               LPARAM lParam) {
    if (nMessage == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pThis = reinterpret_cast<CClipboardWatcher*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pThis == nullptr || pThis->m_pRetry == nullptr) {
        return DefWindowProcW(hWnd, nMessage, wParam, lParam);
    }
    return pThis->OnMessage(nMessage, wParam, lParam);
}

LRESULT CClipboardWatcher::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) {
    switch (nMessage) {
    case WM_DRAWCLIPBOARD:
        if (m_bJoining) {
            return 0;
        }
        ++m_nNotifications;
        if (m_hNextViewer != nullptr && m_hNextViewer != m_hWnd) {
            SendMessageTimeoutW(m_hNextViewer, WM_DRAWCLIPBOARD, 0, 0, SMTO_ABORTIFHUNG, 500,
                                nullptr);
        }
        m_pRetry->OnClipboardChanged();
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wParam) == m_hNextViewer) {
            m_hNextViewer = reinterpret_cast<HWND>(lParam);
        } else if (m_hNextViewer != nullptr) {
            SendMessageTimeoutW(m_hNextViewer, WM_CHANGECBCHAIN, wParam, lParam, SMTO_ABORTIFHUNG,
                                500, nullptr);
        }
        return 0;
    case WM_TIMER:
        if (m_pRetry->OnTimer(static_cast<UINT_PTR>(wParam))) {
            return 0;
        }
        break;
    }
    return DefWindowProcW(m_hWnd, nMessage, wParam, lParam);
}
