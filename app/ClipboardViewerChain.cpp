#include "ClipboardViewerChain.h"

bool CClipboardViewerChain::IsHeadResponsive() const {
    HWND hWndHead = GetClipboardViewer();
    if (hWndHead == nullptr || hWndHead == m_hWnd) {
        return true;
    }
    DWORD_PTR nResult = 0;
    return SendMessageTimeoutW(hWndHead, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               FORWARD_TIMEOUT_MS, &nResult) != 0;
}

void CClipboardViewerChain::Join() {
    // Leaving tells the head of the chain and waits for it: with a hung head we join again
    // without leaving first. The stale link that leaves behind leads back to us, and the
    // re-entry guards below end that loop.
    if (m_bInChain && IsHeadResponsive()) {
        ChangeClipboardChain(m_hWnd, m_hWndNextViewer);
        m_bInChain = false;
    }
    m_bJoining = TRUE;
    m_hWndNextViewer = SetClipboardViewer(m_hWnd);
    m_bJoining = FALSE;
    m_bInChain = true;
    if (m_hWndNextViewer == m_hWnd) {
        m_hWndNextViewer = nullptr;
    }
}

void CClipboardViewerChain::Leave() {
    if (!m_bInChain || !IsHeadResponsive()) {
        return;
    }
    ChangeClipboardChain(m_hWnd, m_hWndNextViewer);
    m_bInChain = false;
    m_hWndNextViewer = nullptr;
}

void CClipboardViewerChain::Forward(UINT nMessage, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(m_hWndNextViewer, nMessage, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                        FORWARD_TIMEOUT_MS, &nResult);
}

BOOL CClipboardViewerChain::OnDrawClipboard() {
    if (m_bJoining || m_bForwardingDraw) {
        return FALSE;
    }
    if (m_hWndNextViewer != nullptr && m_hWndNextViewer != m_hWnd) {
        m_bForwardingDraw = true;
        Forward(WM_DRAWCLIPBOARD, 0, 0);
        m_bForwardingDraw = false;
    }
    return TRUE;
}

void CClipboardViewerChain::OnChangeCbChain(HWND hWndRemove, HWND hWndAfter) {
    if (m_hWndNextViewer == hWndRemove) {
        m_hWndNextViewer = hWndAfter;
    }
    if (m_hWndNextViewer == m_hWnd) {
        m_hWndNextViewer = nullptr;
    }
    if (m_hWndNextViewer != nullptr && !m_bForwardingChange) {
        m_bForwardingChange = true;
        Forward(WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(hWndRemove),
                reinterpret_cast<LPARAM>(hWndAfter));
        m_bForwardingChange = false;
    }
}
