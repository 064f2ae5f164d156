#pragma once
// Korvex's watch on the clipboard: its window's place in the clipboard viewer chain, the periodic
// re-join (a member that breaks the chain cuts us off for one period at most), and the hand-over
// of each change to the history document, after the rest of the chain has heard of it. While
// another program holds the clipboard, the read is tried again from the message loop. A change that
// never reached us (made while we were cut off, or in the moment of a re-join) is read at the
// re-join; what the clipboard held when we started is never recorded.
//
// The window that owns the monitor hands it WM_DRAWCLIPBOARD, WM_CHANGECBCHAIN and WM_TIMER.

#include <windows.h>

#include <memory>

#include "clipboard/ClipboardReadRetry.h"
#include "clipboard/ClipboardViewerChain.h"
#include "history/KorvexDoc.h"

class CClipboardMonitor {
public:
    // The monitor's timers on its window.
    static constexpr UINT_PTR TIMER_REJOIN = 1;
    static constexpr UINT_PTR TIMER_READ_RETRY = 2;
    // Not a timer: posted as WM_TIMER for a quick try of a busy read.
    static constexpr UINT_PTR TIMER_READ_NOW = 3;

    explicit CClipboardMonitor(CKorvexDoc& rDoc) : m_rDoc(rDoc) {}
    ~CClipboardMonitor() { Stop(); }
    CClipboardMonitor(const CClipboardMonitor&) = delete;
    CClipboardMonitor& operator=(const CClipboardMonitor&) = delete;

    // Joins the chain with hWnd and starts the re-join timer. False when the timer could not be
    // started: the chain is joined all the same, and each Rejoin tries the timer again.
    bool Start(HWND hWnd, UINT nRejoinPeriodMs);
    // Leaves the chain and stops both timers (before the window goes).
    void Stop();
    // Leaves the chain and joins it again at its head ("Reset Clipboard Viewer").
    void Rejoin();

    // WM_DRAWCLIPBOARD: passes the change on, then hands it to the document.
    void OnDrawClipboard();
    // WM_CHANGECBCHAIN with its two arguments.
    void OnChangeCbChain(WPARAM wParam, LPARAM lParam);
    // WM_TIMER: true when nIdEvent is one of the monitor's timers (then handled).
    bool OnTimer(UINT_PTR nIdEvent);

    const CClipboardViewerChain& GetChain() const { return m_oChain; }
    // True while a read of a busy clipboard waits for its next try.
    bool IsRetrying() const { return m_pReadRetry && m_pReadRetry->IsRetrying(); }
    // Changes handed to the document since Start.
    int GetChangeCount() const { return m_nChanges; }

private:
    bool StartRejoinTimer();
    // Joins again and reads a change that the chain did not tell us of meanwhile.
    void JoinAndCatchUp();
    void HandChange();

    CKorvexDoc& m_rDoc;
    HWND m_hWnd = nullptr;
    UINT m_nRejoinPeriodMs = 0;
    bool m_bRejoinTimer = false;
    int m_nChanges = 0;
    // The clipboard's sequence number at the last change we were told of (or at the start).
    DWORD m_nLastSequence = 0;
    CClipboardViewerChain m_oChain;
    std::unique_ptr<CClipboardReadRetry> m_pReadRetry;
};
