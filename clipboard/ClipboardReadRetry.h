#pragma once
// Hands each clipboard change to the document without ever waiting for a busy clipboard: when the
// document finds the clipboard held by another program, the read is tried again from a timer of
// the given window, for a few seconds at most.

#include <windows.h>

#include "history/KorvexDoc.h"

class CClipboardReadRetry {
public:
    static constexpr UINT kRetryPeriodMs = 100;
    static constexpr ULONGLONG kRetryBudgetMs = 3000;

    // The timer runs on hTimerWindow with identifier nTimerId; the window's WM_TIMER handler
    // passes every timer to OnTimer.
    CClipboardReadRetry(CKorvexDoc& rDoc, HWND hTimerWindow, UINT_PTR nTimerId);
    ~CClipboardReadRetry();
    CClipboardReadRetry(const CClipboardReadRetry&) = delete;
    CClipboardReadRetry& operator=(const CClipboardReadRetry&) = delete;

    // A change notification: reads at once, and starts retrying when the clipboard is busy. Every
    // notification gives the retries a fresh budget.
    void OnClipboardChanged();
    // True when nTimerId is the retry timer (the timer is then handled).
    bool OnTimer(UINT_PTR nTimerId);
    // True while a busy read waits for its next try.
    bool IsRetrying() const { return m_bTimerRunning; }

private:
    void Read();
    void StopTimer();

    CKorvexDoc& m_rDoc;
    HWND m_hTimerWindow;
    UINT_PTR m_nTimerId;
    bool m_bTimerRunning = false;
    ULONGLONG m_nGiveUpAt = 0; // GetTickCount64 after which a busy read is given up
};
