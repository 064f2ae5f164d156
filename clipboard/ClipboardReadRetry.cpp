#include "clipboard/ClipboardReadRetry.h"

CClipboardReadRetry::CClipboardReadRetry(CKorvexDoc& rDoc, HWND hTimerWindow, UINT_PTR nTimerId)
    : m_rDoc(rDoc), m_hTimerWindow(hTimerWindow), m_nTimerId(nTimerId) {}

CClipboardReadRetry::~CClipboardReadRetry() {
    StopTimer();
}

void CClipboardReadRetry::OnClipboardChanged() {
    m_nGiveUpAt = GetTickCount64() + kRetryBudgetMs;
    Read();
}

bool CClipboardReadRetry::OnTimer(UINT_PTR nTimerId) {
    if (nTimerId != m_nTimerId) {
        return false;
    }
    if (!m_bTimerRunning) {
        // A WM_TIMER that was already queued when the timer stopped.
        return true;
    }
    Read();
    return true;
}

void CClipboardReadRetry::Read() {
    if (m_rDoc.ReadClipboard() == ReadClipboardResult::Handled) {
        StopTimer();
        return;
    }
    if (GetTickCount64() >= m_nGiveUpAt) {
        StopTimer(); // the clipboard stayed busy: this change is given up
        return;
    }
    if (!m_bTimerRunning) {
        m_bTimerRunning = SetTimer(m_hTimerWindow, m_nTimerId, kRetryPeriodMs, nullptr) != 0;
    }
}

void CClipboardReadRetry::StopTimer() {
    if (m_bTimerRunning) {
        KillTimer(m_hTimerWindow, m_nTimerId);
        m_bTimerRunning = false;
    }
}
