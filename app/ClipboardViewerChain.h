#pragma once
// A window's membership in the system's clipboard viewer chain: joining, passing both chain
// messages on to the next member, repairing the chain when a member leaves, and leaving.
// It reads nothing: OnDrawClipboard says when a change should be read, and the owner reads.

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
    // system sends while joining is dropped. Leaving makes the system send WM_CHANGECBCHAIN to
    // the head of the chain and wait for it: when the head is another program's window that
    // does not answer, we join again without leaving.
    void Join();
    // Leaves the chain (at the window's destruction); as Join, not while the head is hung.
    void Leave();

    // WM_DRAWCLIPBOARD: passes the notification on first, then returns TRUE when the owner
    // should read the clipboard; FALSE for the notification of our own join and for a
    // notification that came back round a chain looping through this window.
    BOOL OnDrawClipboard();
    // WM_CHANGECBCHAIN: repairs the link when the next viewer leaves and passes the message on.
    void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter);

    HWND GetNextViewer() const { return m_hWndNextViewer; }
    BOOL IsJoining() const { return m_bJoining; }
    bool IsInChain() const { return m_bInChain; }

private:
    void Forward(UINT nMessage, WPARAM wParam, LPARAM lParam) const;
    // Whether the head of the chain (which the system tells of every member that leaves)
    // answers within the forwarding timeout.
    bool IsHeadResponsive() const;

    HWND m_hWnd = nullptr;
    HWND m_hWndNextViewer = nullptr;
    BOOL m_bJoining = FALSE;
    bool m_bInChain = false;
    // Set while a chain message is being passed on: a chain that leads back here delivers it
    // again, and passing that on again would never end.
    bool m_bForwardingDraw = false;
    bool m_bForwardingChange = false;
};
