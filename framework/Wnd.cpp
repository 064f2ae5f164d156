#include "framework/Wnd.h"

#include "framework/CmdUI.h"

#include <exception>
#include <string>
#include <unordered_map>

namespace {

// Our windows of this thread. Windows belong to the thread that created them and their messages
// are handled on it, so the table needs no lock.
thread_local std::unordered_map<HWND, CWnd*> t_mapWindows;

// The object whose window is being created on this thread; tied to the first window that the
// creation hook reports.
thread_local CWnd* t_pWndInit = nullptr;

// The message being handled, for Default(); a stack through the nested calls.
struct CURRENT_MESSAGE {
    HWND hWnd;
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local CURRENT_MESSAGE* t_pCurrentMsg = nullptr;

// Whether the last reflected notification was handled by the control's object.
thread_local bool t_bReflectedHandled = false;

CWnd* g_pMainWnd = nullptr;

} // namespace

// The one window procedure of our windows and the creation hook; a friend of CWnd.
class CWndInternals {
public:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHook(int nCode, WPARAM wParam, LPARAM lParam);

    static void Attach(CWnd* pWnd, HWND hWnd) {
        pWnd->m_hWnd = hWnd;
        t_mapWindows[hWnd] = pWnd;
        WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc)));
        pWnd->m_pfnSuper = pfnOld != &WndProc ? pfnOld : DefWindowProcW;
    }

    // Cuts the tie: the window gets its previous procedure back, the object forgets it.
    static void Detach(CWnd* pWnd) {
        HWND hWnd = pWnd->m_hWnd;
        if (!hWnd) {
            return;
        }
        if (pWnd->m_pfnSuper &&
            reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &WndProc) {
            SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
        }
        t_mapWindows.erase(hWnd);
        pWnd->m_hWnd = nullptr;
    }

    static LRESULT Dispatch(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    // Ties the pending object to hWnd once (the first window created while it is pending).
    static void AttachPending(HWND hWnd) {
        CWnd* pWnd = t_pWndInit;
        if (pWnd && !pWnd->m_hWnd && !t_mapWindows.count(hWnd)) {
            t_pWndInit = nullptr;
            Attach(pWnd, hWnd);
        }
    }
};

LRESULT CALLBACK CWndInternals::CbtHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND) {
        AttachPending(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CWndInternals::Dispatch(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CURRENT_MESSAGE msg{hWnd, nMsg, wParam, lParam};
    CURRENT_MESSAGE* pPrevious = t_pCurrentMsg;
    t_pCurrentMsg = &msg;
    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (const std::exception& e) {
        std::string strText = "Korvex: exception in a window handler: ";
        strText += e.what();
        strText += "\n";
        OutputDebugStringA(strText.c_str());
        lResult = nMsg == WM_CREATE ? -1 : 0;
    } catch (...) {
        OutputDebugStringA("Korvex: unknown exception in a window handler\n");
        lResult = nMsg == WM_CREATE ? -1 : 0;
    }
    t_pCurrentMsg = pPrevious;
    return lResult;
}

LRESULT CALLBACK CWndInternals::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto it = t_mapWindows.find(hWnd);
    if (it == t_mapWindows.end()) {
        // Only reached by a window whose object already let go of it (or a stray call):
        // plain default processing.
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
    CWnd* pWnd = it->second;
    if (nMsg != WM_NCDESTROY) {
        return Dispatch(pWnd, hWnd, nMsg, wParam, lParam);
    }

    // The window's last message: let the handlers see it, then cut the tie before the object
    // hears of it the last time (PostNcDestroy may delete the object).
    LRESULT lResult = Dispatch(pWnd, hWnd, nMsg, wParam, lParam);
    Detach(pWnd);
    if (g_pMainWnd == pWnd) {
        g_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    try {
        pWnd->PostNcDestroy();
    } catch (...) {
        OutputDebugStringA("Korvex: exception in PostNcDestroy\n");
    }
    return lResult;
}

CWnd::~CWnd() {
    if (t_pWndInit == this) {
        t_pWndInit = nullptr;
    }
    if (g_pMainWnd == this) {
        g_pMainWnd = nullptr;
    }
    if (m_hWnd) {
        HWND hWnd = m_hWnd;
        CWndInternals::Detach(this);
        ::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) {
        return nullptr;
    }
    auto it = t_mapWindows.find(hWnd);
    return it == t_mapWindows.end() ? nullptr : it->second;
}

const wchar_t* CWnd::DefaultClassName() {
    static const wchar_t szClass[] = L"KorvexWnd";
    static bool bRegistered = false;
    if (!bRegistered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = szClass;
        bRegistered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    return szClass;
}

bool CWnd::PreCreateWindow(CREATESTRUCTW&) {
    return true;
}

bool CWnd::CreateEx(DWORD dwExStyle, const wchar_t* pszClassName, const wchar_t* pszTitle,
                    DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent, UINT_PTR nIdOrMenu) {
    if (m_hWnd) {
        return false;
    }
    CREATESTRUCTW cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = pszClassName ? pszClassName : DefaultClassName();
    cs.lpszName = pszTitle;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = hParent;
    cs.hMenu = reinterpret_cast<HMENU>(nIdOrMenu);
    cs.hInstance = GetModuleHandleW(nullptr);
    if (!PreCreateWindow(cs)) {
        return false;
    }

    HWND hWnd = nullptr;
    {
        // Ties this object to the window before its first message, whatever its class.
        CCreationHook hook(this);
        hWnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                               cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    return hWnd != nullptr && m_hWnd == hWnd;
}

CWnd::CCreationHook::CCreationHook(CWnd* pWnd) : m_pWnd(pWnd), m_pPrevious(t_pWndInit) {
    t_pWndInit = pWnd;
    m_hHook = SetWindowsHookExW(WH_CBT, &CWndInternals::CbtHook, nullptr, GetCurrentThreadId());
}

CWnd::CCreationHook::~CCreationHook() {
    if (m_hHook) {
        UnhookWindowsHookEx(m_hHook);
    }
    if (t_pWndInit == m_pWnd) { // nothing was created
        t_pWndInit = m_pPrevious;
    }
}

bool CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd || !IsWindow(hWnd) || t_mapWindows.count(hWnd) ||
        GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId()) {
        return false;
    }
    CWndInternals::Attach(this, hWnd);
    return true;
}

bool CWnd::DestroyWindow() {
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

bool CWnd::OnCommand(UINT) {
    return false;
}

bool CWnd::OnUpdateCommand(UINT, CCmdUI&) {
    return false;
}

void CWnd::SetMainWindow(CWnd* pWnd) {
    g_pMainWnd = pWnd;
}

CWnd* CWnd::GetMainWindow() {
    return g_pMainWnd;
}

HWND CWnd::GetSafeOwner(HWND hParent) {
    HWND hOwner = hParent;
    if (!hOwner) {
        hOwner = GetActiveWindow();
    }
    if (!hOwner && g_pMainWnd && g_pMainWnd->m_hWnd) {
        hOwner = GetLastActivePopup(g_pMainWnd->m_hWnd);
    }
    if (hOwner) {
        hOwner = GetAncestor(hOwner, GA_ROOT);
    }
    return hOwner;
}

LRESULT CWnd::Default() {
    // Only for the message this window is handling: a handler called directly (a command routed
    // from the frame to the view) has no message of its own to pass on.
    CURRENT_MESSAGE* pMsg = t_pCurrentMsg;
    if (!pMsg || !m_hWnd || pMsg->hWnd != m_hWnd) {
        return 0;
    }
    WNDPROC pfn = m_pfnSuper ? m_pfnSuper : DefWindowProcW;
    return CallWindowProcW(pfn, pMsg->hWnd, pMsg->nMsg, pMsg->wParam, pMsg->lParam);
}

LRESULT CWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_COMMAND: {
        const UINT nId = LOWORD(wParam);
        const UINT nCode = HIWORD(wParam);
        const bool bCommand = IsMenuOrAcceleratorCommand(wParam, lParam) || nCode == BN_CLICKED;
        const bool bHandled =
            bCommand ? OnCommand(nId) : OnCommandNotify(nId, nCode, reinterpret_cast<HWND>(lParam));
        return bHandled ? 0 : Default();
    }
    case WM_NOTIFY: {
        auto* pnm = reinterpret_cast<NMHDR*>(lParam);
        LRESULT lResult = 0;
        // The control's own object gets the first word.
        if (pnm && pnm->hwndFrom != m_hWnd && FromHandle(pnm->hwndFrom)) {
            t_bReflectedHandled = false;
            lResult = SendMessageW(pnm->hwndFrom, WM_REFLECTED_NOTIFY, wParam, lParam);
            bool bHandled = t_bReflectedHandled;
            t_bReflectedHandled = false;
            if (bHandled) {
                return lResult;
            }
            lResult = 0;
        }
        if (pnm && OnNotify(pnm, &lResult)) {
            return lResult;
        }
        return Default();
    }
    case WM_REFLECTED_NOTIFY: {
        LRESULT lResult = 0;
        bool bHandled = OnReflectedNotify(reinterpret_cast<NMHDR*>(lParam), &lResult);
        t_bReflectedHandled = bHandled;
        return lResult;
    }
    default:
        return Default();
    }
}

int CWnd::OnCreate(CREATESTRUCTW*) {
    return static_cast<int>(Default());
}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnClose() {
    Default();
}

void CWnd::OnSize(UINT, int, int) {
    Default();
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

bool CWnd::OnCommandNotify(UINT, UINT, HWND) {
    return false;
}

bool CWnd::OnNotify(NMHDR*, LRESULT*) {
    return false;
}

bool CWnd::OnReflectedNotify(NMHDR*, LRESULT*) {
    return false;
}

void CWnd::PostNcDestroy() {}

bool IsMenuOrAcceleratorCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nCode = HIWORD(wParam);
    return lParam == 0 && (nCode == 0 || nCode == 1);
}

bool GetNormalWindowSize(HWND hWnd, SIZE& size) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (hWnd == nullptr || !GetWindowPlacement(hWnd, &wp)) {
        return false;
    }
    size = SIZE{wp.rcNormalPosition.right - wp.rcNormalPosition.left,
                wp.rcNormalPosition.bottom - wp.rcNormalPosition.top};
    return true;
}
