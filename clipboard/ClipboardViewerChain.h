#pragma once
// A window's membership in the system's clipboard viewer chain: joining, passing both chain
// messages on to the next member, repairing the chain when a member leaves, and leaving.
// It reads nothing: OnDrawClipboard says when a change should be read, and the owner reads.
//
// Joining again while the head of the chain does not answer: leaving would make the system wait
// on that head, so we join at the head without leaving. The chain then holds us twice: at the
// head, whose next viewer is the old head, and further down at our old place, whose next viewer
// is the member that followed us before (the "kept link"). A change passes from the head round
// to our old place and on over the kept link, so the members behind us keep hearing of every
// change. As soon as the chain answers, a WM_CHANGECBCHAIN sent down from the head takes our old
// place out of the chain (the member before it links to the kept link directly).

#include <windows.h>

class CClipboardViewerChain {
public:
    // How long a chain message waits for the next viewer. A viewer that is slower (or hung)
    // still gets the message; we only stop waiting for it.
    static constexpr UINT FORWARD_TIMEOUT_MS = 200;

    CClipboardViewerChain() = default;
    CClipboardViewerChain(const CClipboardViewerChain&) = delete;
    CClipboardViewerChain& operator=(const CClipboardViewerChain&) = delete;

    // The member window; its window procedure sends WM_DRAWCLIPBOARD and WM_CHANGECBCHAIN here.
    void SetWindow(HWND hWnd) { m_hWnd = hWnd; }

    // Leaves the chain if in it and joins it again at its head. The notification that the
    // system sends while joining is dropped. With a head that does not answer, joins again
    // without leaving (see above).
    void Join();
    // Leaves the chain (at the window's destruction); as Join, not while the head is hung.
    void Leave();

    // WM_DRAWCLIPBOARD: passes the notification on first, then returns TRUE when the owner
    // should read the clipboard; FALSE for the notification of our own join and for a
    // notification that came back round the chain to our old place.
    BOOL OnDrawClipboard();
    // WM_CHANGECBCHAIN: repairs the links when a member leaves and passes the message on.
    void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter);

    HWND GetNextViewer() const { return m_hWndNextViewer; }
    bool IsJoining() const { return m_bJoining; }
    bool IsInChain() const { return m_bInChain; }
    // Whether we still stand at an old place in the chain, and the member that follows it.
    bool HasKeptLink() const { return m_bHasKeptLink; }
    HWND GetKeptLink() const { return m_hWndKeptLink; }

private:
    // Sends with the forwarding timeout; true when the receiver handled the message in time.
    static bool Forward(HWND hWndTo, UINT nMessage, WPARAM wParam, LPARAM lParam);
    // Whether the head of the chain (which the system tells of every member that leaves)
    // answers within the forwarding timeout.
    bool IsHeadResponsive() const;
    // Takes our old place out of the chain; true when there is none left.
    bool RemoveOldPlace();

    HWND m_hWnd = nullptr;
    HWND m_hWndNextViewer = nullptr;
    bool m_bJoining = false;
    bool m_bInChain = false;
    bool m_bHasKeptLink = false;
    HWND m_hWndKeptLink = nullptr;
    // The clipboard sequence numbers last passed to the next viewer and over the kept link: a
    // change goes down each link once, however often it comes round.
    DWORD m_nForwardedSequence = 0;
    DWORD m_nKeptLinkSequence = 0;
    // Set while a chain message is being passed on: a chain that leads back here delivers it
    // again, and passing that on again would never end.
    bool m_bForwardingDraw = false;
    bool m_bForwardingChange = false;
    bool m_bForwardingKeptDraw = false;
    bool m_bForwardingKeptChange = false;
    bool m_bCameRound = false; // a change reached our old place while we passed it on
};
