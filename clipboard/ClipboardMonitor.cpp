#include "clipboard/ClipboardMonitor.h"

bool CClipboardMonitor::Start(HWND hWnd, UINT nRejoinPeriodMs) {
    Stop();
    m_hWnd = hWnd;
    m_nRejoinPeriodMs = nRejoinPeriodMs;
    m_nChanges = 0;
    m_pReadRetry =
        std::make_unique<CClipboardReadRetry>(m_rDoc, hWnd, TIMER_READ_RETRY, TIMER_READ_NOW);
    m_oChain.SetWindow(hWnd);
    m_oChain.Join();
    m_nLastSequence = GetClipboardSequenceNumber();
    return StartRejoinTimer();
}

bool CClipboardMonitor::StartRejoinTimer() {
    if (!m_bRejoinTimer && m_hWnd != nullptr) {
        m_bRejoinTimer = SetTimer(m_hWnd, TIMER_REJOIN, m_nRejoinPeriodMs, nullptr) != 0;
    }
    return m_bRejoinTimer;
}

void CClipboardMonitor::Stop() {
    if (m_hWnd == nullptr) {
        return;
    }
    if (m_bRejoinTimer) {
        KillTimer(m_hWnd, TIMER_REJOIN);
        m_bRejoinTimer = false;
    }
    m_pReadRetry.reset();
    m_oChain.Leave();
    m_hWnd = nullptr;
}

void CClipboardMonitor::Rejoin() {
    if (m_hWnd == nullptr) {
        return;
    }
    JoinAndCatchUp();
    StartRejoinTimer();
}

void CClipboardMonitor::JoinAndCatchUp() {
    m_oChain.Join();
    const DWORD nSequence = GetClipboardSequenceNumber();
    if (nSequence != 0 && nSequence != m_nLastSequence) {
        // The document knows the changes it has read already: a change it has seen is not
        // recorded twice.
        HandChange();
    }
}

void CClipboardMonitor::HandChange() {
    m_nLastSequence = GetClipboardSequenceNumber();
    if (m_pReadRetry) {
        ++m_nChanges;
        m_pReadRetry->OnClipboardChanged();
    }
}

void CClipboardMonitor::OnDrawClipboard() {
    // The rest of the chain hears of the change before we read the clipboard.
    if (m_oChain.OnDrawClipboard()) {
        HandChange();
    }
}

void CClipboardMonitor::OnChangeCbChain(WPARAM wParam, LPARAM lParam) {
    m_oChain.OnChangeCbChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
}

bool CClipboardMonitor::OnTimer(UINT_PTR nIdEvent) {
    if (nIdEvent == TIMER_REJOIN) {
        if (m_hWnd != nullptr) {
            JoinAndCatchUp();
        }
        return true;
    }
    return m_pReadRetry && m_pReadRetry->OnTimer(nIdEvent);
}
