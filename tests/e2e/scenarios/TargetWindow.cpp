#include "TargetWindow.h"

#include "Wait.h"

namespace e2e {

namespace {

constexpr wchar_t kClassName[] = L"KorvexE2eTarget";
constexpr UINT kMsgFocus = WM_APP + 1;

} // namespace

CTargetWindow::~CTargetWindow() {
    if (m_hThread != nullptr) {
        if (m_hWnd != nullptr) {
            PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        } else {
            PostThreadMessageW(m_nThreadId, WM_QUIT, 0, 0);
        }
        if (WaitForSingleObject(m_hThread, 5000) != WAIT_OBJECT_0) {
            TerminateThread(m_hThread, 1);
        }
        CloseHandle(m_hThread);
    }
    if (m_hReady != nullptr) {
        CloseHandle(m_hReady);
    }
}

bool CTargetWindow::Create() {
    m_hReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_hThread = CreateThread(nullptr, 0, ThreadMain, this, 0, &m_nThreadId);
    if (m_hThread == nullptr || WaitForSingleObject(m_hReady, 10000) != WAIT_OBJECT_0) {
        return false;
    }
    const HWND hWnd = m_hWnd;
    return hWnd != nullptr && WaitUntil([&] { return IsWindowVisible(hWnd) != FALSE; }, 5000);
}

DWORD WINAPI CTargetWindow::ThreadMain(void* pParameter) {
    auto* pThis = static_cast<CTargetWindow*>(pParameter);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    // Away from where Korvex's main window opens (the top-left corner).
    pThis->m_hWnd = CreateWindowExW(0, kClassName, L"Korvex e2e target", WS_OVERLAPPEDWINDOW, 700,
                                    300, 400, 260, nullptr, nullptr, wc.hInstance, nullptr);
    if (pThis->m_hWnd != nullptr) {
        SetWindowLongPtrW(pThis->m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
        pThis->m_hEdit =
            CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 10, 360, 180,
                            pThis->m_hWnd, nullptr, wc.hInstance, nullptr);
        ShowWindow(pThis->m_hWnd, SW_SHOW);
    }
    SetEvent(pThis->m_hReady);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

LRESULT CALLBACK CTargetWindow::WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    auto* pThis = reinterpret_cast<CTargetWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    switch (nMessage) {
    case kMsgFocus:
        SetForegroundWindow(hWnd);
        if (pThis != nullptr && pThis->m_hEdit != nullptr) {
            SetFocus(pThis->m_hEdit);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, nMessage, wParam, lParam);
    }
}

bool CTargetWindow::Focus() {
    if (m_hWnd == nullptr) {
        return false;
    }
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(m_hWnd, kMsgFocus, 0, 0, SMTO_NORMAL, 5000, &nResult);
    const HWND hWnd = m_hWnd;
    return WaitUntil([&] { return GetForegroundWindow() == hWnd; }, 5000);
}

std::wstring CTargetWindow::EditText() const {
    wchar_t aText[1024] = {};
    if (m_hEdit != nullptr) {
        GetWindowTextW(m_hEdit, aText, 1024);
    }
    return aText;
}

} // namespace e2e
