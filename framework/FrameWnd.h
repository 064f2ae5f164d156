#pragma once
// CFrameWnd: an overlapped top-level window with the menu and icon of one resource id, whose
// client area is filled by one active view (a child CWnd).
//
//  - Command routing: a WM_COMMAND from a menu or an accelerator goes to the active view's
//    OnCommand first, and to the frame's own OnCommand only when the view did not handle it.
//  - Menu enabling: when a pop-up of the frame's menus opens (WM_INITMENUPOPUP, also for a pop-up
//    tracked with the frame as owner), each command item is offered to the view's
//    OnUpdateCommand and, when the view does not handle it, to the frame's. Items nobody handles
//    stay as they are.
//  - Layout: on WM_SIZE (except when minimised) the view is sized to the whole client area.
//  - Notifications of controls that are our windows come back to them as WM_REFLECTED_NOTIFY
//    (CWnd does that for every window).

#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
public:
    // Creates the frame with the menu and icon of resource nIdResource (each optional: a missing
    // menu or icon is simply not set). dwStyle and the default position and size go through
    // PreCreateWindow, as for CreateEx.
    bool LoadFrame(UINT nIdResource, const wchar_t* pszTitle,
                   DWORD dwStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, HWND hParent = nullptr);

    // The view that fills the client area and gets commands first; may be null. The frame does
    // not own it: the view object must stay alive while it is the active view (set null before
    // deleting it). Setting it lays it out at once when the frame exists.
    void SetActiveView(CWnd* pView);
    CWnd* GetActiveView() const { return m_pActiveView; }

    // Sizes the active view to the client area.
    virtual void RecalcLayout();

    // Destroys the frame (also when called from another handler, such as an Exit command).
    void OnClose() override;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT nType, int cx, int cy) override;
    // Offers every command item of a menu that opens to the view and then the frame.
    void UpdateMenuItems(HMENU hMenu);

private:
    CWnd* m_pActiveView = nullptr;
};
