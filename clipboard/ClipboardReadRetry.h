#pragma once
// Hands each clipboard change to the document without ever waiting for a busy clipboard: when the
// document finds the clipboard held by another program, the read is tried again from the message
// loop of the given window, for a few seconds at most. The thread never sleeps meanwhile: the
// messages that arrive between two tries (further changes, the keyboard hook's calls) are handled
// as they come.

#include <windows.h>

#include "history/KorvexDoc.h"

class CClipboardReadRetry {
public:
    // A holder usually lets go within a millisecond: for this long after a change, the next try
    // comes as soon as the messages queued meanwhile are handled...
    static constexpr ULONGLONG kQuickRetryMs = 20;
    // ...then from a timer of this period, until the change is given up.
    static constexpr UINT kRetryPeriodMs = USER_TIMER_MINIMUM;
    static constexpr ULONGLONG kRetryBudgetMs = 3000;

    // The quick tries come as WM_TIMER messages with identifier nQuickId posted to hTimerWindow,
    // the later ones from a timer with identifier nTimerId; the window's WM_TIMER handler passes
    // every timer to OnTimer.
    CClipboardReadRetry(CKorvexDoc& rDoc, HWND hTimerWindow, UINT_PTR nTimerId, UINT_PTR nQuickId);
    ~CClipboardReadRetry();
    CClipboardReadRetry(const CClipboardReadRetry&) = delete;
    CClipboardReadRetry& operator=(const CClipboardReadRetry&) = delete;

    // A change notification: reads at once, and starts retrying when the clipboard is busy. Every
    // notification gives the retries a fresh budget.
    void OnClipboardChanged();
    // True when nTimerId is one of the retry's identifiers (the timer is then handled). Any
    // WM_TIMER that comes while no read waits (queued before it ended, or posted by another
    // program) does nothing.
    bool OnTimer(UINT_PTR nTimerId);
    // True while a busy read waits for its next try.
    bool IsRetrying() const { return m_bWaiting; }

private:
    void Read();
    void Stop();

    CKorvexDoc& m_rDoc;
    HWND m_hTimerWindow;
    UINT_PTR m_nTimerId;
    UINT_PTR m_nQuickId;
    bool m_bWaiting = false;
    bool m_bTimerRunning = false;
    bool m_bQuickPosted = false;
    ULONGLONG m_nQuickUntil = 0; // GetTickCount64 up to which the tries come from the queue
    ULONGLONG m_nGiveUpAt = 0;   // GetTickCount64 after which a busy read is given up
};
