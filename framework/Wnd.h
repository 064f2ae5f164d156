#pragma once
// CWnd: a C++ object that owns one window handle and turns its messages into calls of named
// virtual handlers.
//
// Life of a window object:
//  - CreateEx (or CDialog::Create/DoModal) creates the window. The object is tied to the handle
//    before the window's first message (WM_GETMINMAXINFO/WM_NCCREATE), so even the creation
//    messages reach the handlers; windows of system classes (a SysListView32, a dialog) are
//    subclassed at that moment, and Default() passes a message on to the class's own procedure.
//  - SubclassWindow ties the object to a window that exists already (a control of a dialog).
//  - At WM_NCDESTROY the tie is cut (m_hWnd becomes null, FromHandle no longer finds it, the
//    original procedure is put back) and then PostNcDestroy runs; an object that deletes itself
//    when its window goes does it there. No handler runs on the object after that.
//  - Destroying the object while its window still exists cuts the tie first and then destroys
//    the window, so the window's last messages never reach a half-destroyed object (and
//    PostNcDestroy does not run in that case).
//
// Dispatch: one static window procedure calls the virtual WindowProc, which calls the named
// handlers below; a handler that does not want a message calls Default(). Nothing thrown by a
// handler escapes into the system: the window procedure catches every exception, reports it with
// OutputDebugString and answers the message as "failed" (WM_NCCREATE: FALSE, WM_CREATE: -1,
// anything else: 0). The message loop does the same around PreTranslateMessage.
//
// All of it belongs to the thread that created the windows (Korvex has one user-interface
// thread).

#include <windows.h>
#include <commctrl.h>

class CCmdUI;

// The size of the window's normal (restored) rectangle, as a window's stored size is kept;
// false when the window cannot tell.
bool GetNormalWindowSize(HWND hWnd, SIZE& size);

// Whether a WM_COMMAND comes from a menu (code 0) or an accelerator (code 1): those are the
// user's commands, and carry no control. Every other WM_COMMAND is a control's notification
// (BN_CLICKED is code 0 too, but from a control).
bool IsMenuOrAcceleratorCommand(WPARAM wParam, LPARAM lParam);

// A control's WM_NOTIFY sent back to the control itself by its parent (when the control is one
// of our windows): wParam and lParam are those of the WM_NOTIFY.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
constexpr UINT WM_REFLECTED_NOTIFY = WM_REFLECT_BASE + WM_NOTIFY; // 0xBC4E

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window, or null when there is none (not yet created, or already destroyed).
    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Our object for a window of this thread, or null for any other window (a foreign window, a
    // window of another thread, one that was never ours or is already destroyed).
    static CWnd* FromHandle(HWND hWnd);

    // The class name of plain windows created with a null class name: arrow cursor, window
    // background, double clicks. Registered on first use.
    static const wchar_t* DefaultClassName();

    // Creates the window. pszClassName null means DefaultClassName(); any other registered class
    // (WC_LISTVIEWW...) works too. For a child, nIdOrMenu is the control identifier; for a
    // top-level window it is the menu handle (or 0). PreCreateWindow may change every argument
    // first. Returns false when no window was created.
    bool CreateEx(DWORD dwExStyle, const wchar_t* pszClassName, const wchar_t* pszTitle,
                  DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent, UINT_PTR nIdOrMenu);
    bool CreateEx(DWORD dwExStyle, const wchar_t* pszClassName, const wchar_t* pszTitle,
                  DWORD dwStyle, const RECT& rc, HWND hParent, UINT_PTR nIdOrMenu) {
        return CreateEx(dwExStyle, pszClassName, pszTitle, dwStyle, rc.left, rc.top,
                        rc.right - rc.left, rc.bottom - rc.top, hParent, nIdOrMenu);
    }
    // Ties this object to an existing window of this thread that is not ours yet (for example a
    // control of a dialog): its messages come to WindowProc first, Default() hands them to the
    // window's previous procedure.
    bool SubclassWindow(HWND hWnd);
    // Destroys the window (if any). Returns true when it was destroyed.
    bool DestroyWindow();

    // Called by the message loop for each queued message aimed at this window or a child of it,
    // before it is translated and dispatched. Return TRUE to consume the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Handlers that the frame's command routing asks; see CFrameWnd. Return true when handled.
    virtual bool OnCommand(UINT nId);
    virtual bool OnUpdateCommand(UINT nId, CCmdUI& ui);

    // The application's main window: modal dialogs and message boxes without an explicit owner
    // take its last active pop-up as owner, and the message loop ends when it is destroyed
    // (WM_QUIT is posted from its WM_NCDESTROY).
    static void SetMainWindow(CWnd* pWnd);
    static CWnd* GetMainWindow();
    // The owner to use for a modal dialog or message box: hParent's top-level window if given;
    // otherwise the thread's active window, or else the main window's last active pop-up.
    // May be null.
    static HWND GetSafeOwner(HWND hParent);

protected:
    // Lets a derived class change the creation arguments (style, position, class...).
    // Return false to cancel the creation.
    virtual bool PreCreateWindow(CREATESTRUCTW& cs);

    // Every message of the window. The base calls the named handlers and otherwise Default().
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled (the previous/class window procedure).
    // Does nothing (returns 0) when called outside the handling of one of this window's own
    // messages, for example from OnCommand called by the frame's routing.
    LRESULT Default();

    // Named handlers. Unless said otherwise, the base implementation is Default().
    virtual int OnCreate(CREATESTRUCTW* pcs); // -1 fails the creation
    virtual void OnDestroy();
    virtual void OnClose(); // base: Default(), which destroys the window
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnTimer(UINT_PTR nIdEvent);
    // A control's WM_COMMAND other than BN_CLICKED (which goes to OnCommand, as menu and
    // accelerator commands do): EN_CHANGE, LBN_DBLCLK... Base: false (not handled, Default()).
    virtual bool OnCommandNotify(UINT nId, UINT nCode, HWND hCtrl);
    // WM_NOTIFY from a child control that did not take it as a reflected notification.
    // Return true when handled, with the message's result in *pResult. Base: false.
    virtual bool OnNotify(NMHDR* pnm, LRESULT* pResult);
    // This window's own notification, sent back by its parent (WM_REFLECTED_NOTIFY). Return true
    // when handled; the parent then answers its WM_NOTIFY with *pResult. Base: false.
    virtual bool OnReflectedNotify(NMHDR* pnm, LRESULT* pResult);
    // After the last message (WM_NCDESTROY): the object is no longer tied to any window.
    virtual void PostNcDestroy();

    // While it lives, the next window created on this thread is tied to pWnd before its first
    // message (CreateEx uses it; CDialog wraps the creation of a dialog in it).
    class CCreationHook {
    public:
        explicit CCreationHook(CWnd* pWnd);
        ~CCreationHook();
        CCreationHook(const CCreationHook&) = delete;
        CCreationHook& operator=(const CCreationHook&) = delete;

    private:
        CWnd* m_pWnd;
        CWnd* m_pPrevious;
        HHOOK m_hHook;
    };

private:
    friend class CWndInternals;
    WNDPROC m_pfnSuper = nullptr; // procedure that Default() calls
};
