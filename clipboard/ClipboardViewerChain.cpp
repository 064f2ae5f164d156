#include "clipboard/ClipboardViewerChain.h"

#include "history/FlagGuard.h"

bool CClipboardViewerChain::Forward(HWND hWndTo, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR nResult = 0;
    return SendMessageTimeoutW(hWndTo, nMessage, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               FORWARD_TIMEOUT_MS, &nResult) != 0;
}

bool CClipboardViewerChain::IsHeadResponsive() const {
    HWND hWndHead = GetClipboardViewer();
    if (hWndHead == nullptr || hWndHead == m_hWnd) {
        return true;
    }
    DWORD_PTR nResult = 0;
    return SendMessageTimeoutW(hWndHead, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               FORWARD_TIMEOUT_MS, &nResult) != 0;
}

bool CClipboardViewerChain::RemoveOldPlace() {
    if (!m_bHasKeptLink) {
        return true;
    }
    if (m_hWndNextViewer != nullptr) {
        // The member before our old place links to the kept link once this has come down to it.
        const CFlagGuard oForwarding(m_bForwardingChange);
        if (!Forward(m_hWndNextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(m_hWnd),
                     reinterpret_cast<LPARAM>(m_hWndKeptLink))) {
            return false;
        }
    }
    m_bHasKeptLink = false;
    m_hWndKeptLink = nullptr;
    return true;
}

void CClipboardViewerChain::Join() {
    if (!RemoveOldPlace()) {
        // The chain ahead of our old place does not answer yet. We stand at its head already;
        // leaving now would link the member before our old place past it wrongly.
        return;
    }
    if (m_bInChain) {
        if (IsHeadResponsive()) {
            ChangeClipboardChain(m_hWnd, m_hWndNextViewer);
            m_bInChain = false;
        } else {
            // Leaving would wait on the head that does not answer: join again without leaving,
            // and keep passing on what reaches our old place to the member that follows it.
            m_bHasKeptLink = true;
            m_hWndKeptLink = m_hWndNextViewer;
            m_nKeptLinkSequence = m_nForwardedSequence;
        }
    }
    {
        const CFlagGuard oJoining(m_bJoining);
        m_hWndNextViewer = SetClipboardViewer(m_hWnd);
    }
    m_bInChain = true;
    if (m_hWndNextViewer == m_hWnd) {
        m_hWndNextViewer = nullptr;
    }
}

void CClipboardViewerChain::Leave() {
    if (!m_bInChain) {
        return;
    }
    // With our old place still in the chain, a leave announced down the chain would make the
    // member before it skip to our next viewer and loop; only a leave at the head is safe then.
    if (!RemoveOldPlace() && GetClipboardViewer() != m_hWnd) {
        return;
    }
    if (!IsHeadResponsive()) {
        return;
    }
    ChangeClipboardChain(m_hWnd, m_hWndNextViewer);
    m_bInChain = false;
    m_hWndNextViewer = nullptr;
}

BOOL CClipboardViewerChain::OnDrawClipboard() {
    if (m_bJoining) {
        return FALSE;
    }
    // 0 means the system cannot tell: every notification then counts as a new change.
    const DWORD nSequence = GetClipboardSequenceNumber();
    if (m_bForwardingDraw || (nSequence != 0 && nSequence == m_nForwardedSequence)) {
        // The change came round to our old place (or is one we passed on already): it goes on
        // over the kept link, once.
        if (m_bHasKeptLink && m_hWndKeptLink != nullptr && !m_bForwardingKeptDraw &&
            (nSequence == 0 || nSequence != m_nKeptLinkSequence)) {
            m_nKeptLinkSequence = nSequence;
            m_bCameRound = true;
            const CFlagGuard oForwarding(m_bForwardingKeptDraw);
            Forward(m_hWndKeptLink, WM_DRAWCLIPBOARD, 0, 0);
        }
        if (!m_bForwardingDraw && m_bHasKeptLink) {
            // The chain answers again: take our old place out of it.
            RemoveOldPlace();
        }
        return FALSE;
    }
    m_nForwardedSequence = nSequence;
    m_bCameRound = false;
    if (m_hWndNextViewer != nullptr && m_hWndNextViewer != m_hWnd) {
        const CFlagGuard oForwarding(m_bForwardingDraw);
        Forward(m_hWndNextViewer, WM_DRAWCLIPBOARD, 0, 0);
    }
    if (m_bCameRound) {
        // The change went all the way round: the chain answers, so our old place can go.
        RemoveOldPlace();
    }
    return TRUE;
}

void CClipboardViewerChain::OnChangeCbChain(HWND hWndRemove, HWND hWndAfter) {
    if (m_hWndNextViewer == hWndRemove) {
        m_hWndNextViewer = hWndAfter;
    }
    if (m_bHasKeptLink && m_hWndKeptLink == hWndRemove) {
        m_hWndKeptLink = hWndAfter == m_hWnd ? nullptr : hWndAfter;
    }
    if (m_hWndNextViewer == m_hWnd) {
        // The chain leads straight from our place at the head to our old place: the two are one.
        m_hWndNextViewer = m_bHasKeptLink ? m_hWndKeptLink : nullptr;
        m_bHasKeptLink = false;
        m_hWndKeptLink = nullptr;
    }
    if (m_bForwardingChange) {
        // Came round to our old place: on over the kept link, once.
        if (m_bHasKeptLink && m_hWndKeptLink != nullptr && !m_bForwardingKeptChange) {
            const CFlagGuard oForwarding(m_bForwardingKeptChange);
            Forward(m_hWndKeptLink, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(hWndRemove),
                    reinterpret_cast<LPARAM>(hWndAfter));
        }
        return;
    }
    if (m_hWndNextViewer != nullptr) {
        const CFlagGuard oForwarding(m_bForwardingChange);
        Forward(m_hWndNextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(hWndRemove),
                reinterpret_cast<LPARAM>(hWndAfter));
    }
}
