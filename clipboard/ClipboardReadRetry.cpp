#include "clipboard/ClipboardReadRetry.h"

CClipboardReadRetry::CClipboardReadRetry(CKorvexDoc& rDoc, HWND hTimerWindow, UINT_PTR nTimerId,
                                         UINT_PTR nQuickId)
    : m_rDoc(rDoc), m_hTimerWindow(hTimerWindow), m_nTimerId(nTimerId), m_nQuickId(nQuickId) {}

CClipboardReadRetry::~CClipboardReadRetry() {
    Stop();
}

void CClipboardReadRetry::OnClipboardChanged() {
    const ULONGLONG nNow = GetTickCount64();
    m_nQuickUntil = nNow + kQuickRetryMs;
    m_nGiveUpAt = nNow + kRetryBudgetMs;
    Read();
}

bool CClipboardReadRetry::OnTimer(UINT_PTR nTimerId) {
    if (nTimerId != m_nTimerId && nTimerId != m_nQuickId) {
        return false;
    }
    if (nTimerId == m_nQuickId) {
        m_bQuickPosted = false;
    }
    if (m_bWaiting) {
        Read();
    }
    return true;
}

void CClipboardReadRetry::Read() {
    if (m_rDoc.ReadClipboard() == ReadClipboardResult::Handled) {
        Stop();
        return;
    }
    const ULONGLONG nNow = GetTickCount64();
    if (nNow >= m_nGiveUpAt) {
        Stop(); // the clipboard stayed busy: this change is given up
        return;
    }
    m_bWaiting = true;
    if (nNow < m_nQuickUntil) {
        if (!m_bQuickPosted) {
            m_bQuickPosted = PostMessageW(m_hTimerWindow, WM_TIMER, m_nQuickId, 0) != FALSE;
        }
        if (m_bQuickPosted) {
            return;
        }
    }
    if (!m_bTimerRunning) {
        m_bTimerRunning = SetTimer(m_hTimerWindow, m_nTimerId, kRetryPeriodMs, nullptr) != 0;
    }
    if (!m_bTimerRunning && !m_bQuickPosted) {
        Stop(); // neither way to try again: give up rather than wait forever
    }
}

void CClipboardReadRetry::Stop() {
    m_bWaiting = false;
    if (m_bTimerRunning) {
        KillTimer(m_hTimerWindow, m_nTimerId);
        m_bTimerRunning = false;
    }
}
