#include "MainFrame.h"

#include "AboutDlg.h"
#include "Docking.h"
#include "HotkeyCommands.h"
#include "KorvexApp.h"
#include "WindowPlacement.h"
#include "framework/CmdUI.h"
#include "framework/Dpi.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/ModalState.h"
#include "history/ProgramNameList.h"
#include "hotkeys/KeyboardAccelerator.h"
#include "hotkeys/KorvexMainWindow.h"
#include "res/KorvexMessages.h"
#include "res/resource.h"
#include "settings/OptionsDlg.h"
#include "views/KorvexListView.h"
#include "views/LocaleCaseFold.h"
#include "views/SmallClipDlg.h"
#include "views/ViewItemDlg.h"

#include <commctrl.h>

#include <shellapi.h>
#include <windowsx.h>

#include <cwchar>
#include <utility>

namespace {

// The product's web page.
constexpr wchar_t KORVEX_WEB_PAGE[] = L"https://korvex.example/";
constexpr wchar_t KORVEX_PAUSED_TOOLTIP[] = L"Korvex (paused)";

// The timer of "Forget unbookmarked entries after" (the clipboard monitor's are 1 to 3). It ticks
// six times a minute: an entry goes at most ten seconds after its time.
constexpr UINT_PTR kForgetTimer = 10;
constexpr int64_t kForgetTicksPerMinute = 6;

// The timer that folds the entries held at start for find-by-typing, a slice of characters per
// tick (a few ms), after the window answers.
constexpr UINT_PTR kFoldTimer = 11;
constexpr UINT kFoldTickMs = 10;
constexpr size_t kFoldSliceUnits = size_t{1} << 19;

// The length in seconds of the minute of "Forget unbookmarked entries after": 60, unless a test
// shortens it with the environment variable KORVEX_TEST_SECONDS_PER_MINUTE (1 to 60).
int64_t SecondsPerForgetMinute() {
    wchar_t aValue[8] = {};
    const DWORD nLength = GetEnvironmentVariableW(L"KORVEX_TEST_SECONDS_PER_MINUTE", aValue, 8);
    wchar_t* pEnd = nullptr;
    const long nValue = nLength > 0 && nLength < 8 ? std::wcstol(aValue, &pEnd, 10) : 0;
    return pEnd != nullptr && *pEnd == L'\0' && nValue >= 1 && nValue <= 60 ? nValue : 60;
}

RECT GetPrimaryWorkArea() {
    RECT rc{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

} // namespace

CMainFrame::CMainFrame(CKorvexDoc& rDoc, CWin32ClipboardPort& rClipboardPort,
                       CKorvexSettings& rSettings)
    : m_rDoc(rDoc), m_rClipboardPort(rClipboardPort), m_rSettings(rSettings),
      m_oFolded(rDoc, MakeLocaleCaseFold(), true), m_oClipboardMonitor(rDoc) {
    m_rDoc.AddObserver(&m_oFolded);
}

CMainFrame::~CMainFrame() {
    m_rDoc.RemoveObserver(&m_oFolded);
    // The view's window is a child of ours: if ours still exists, let it go first.
    SetActiveView(nullptr);
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

bool CMainFrame::Create() {
    return LoadFrame(IDR_MAINFRAME, KORVEX_MAIN_WINDOW_TITLE);
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    m_bDocking = m_rSettings.IsDockingEnabled() ? TRUE : FALSE;
    const SIZE sizeScreen{GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const WINDOW_PLACEMENT_VALUES placement = KeepOnAMonitor(MakeMainWindowPlacement(
        m_rSettings.GetMainWindowPlacement(), sizeScreen, GetWindowDpi(nullptr)));
    cs.x = placement.nLeft;
    cs.y = placement.nTop;
    cs.cx = placement.nWidth;
    cs.cy = placement.nHeight;
    // No maximise box; the title stays "Korvex" whatever happens.
    cs.style &= ~static_cast<DWORD>(WS_MAXIMIZEBOX | WS_VISIBLE);
    cs.lpszName = KORVEX_MAIN_WINDOW_TITLE;
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(CREATESTRUCTW* pcs) {
    if (CFrameWnd::OnCreate(pcs) == -1) {
        return -1;
    }

    // The view, then the observers in this order: the view is told of a change first, then a
    // notice is posted to this window for the windows that refresh later.
    m_pView = std::make_unique<CKorvexListView>(m_rDoc, &m_oFolded);
    if (!m_pView->Create(m_hWnd)) {
        return -1;
    }
    SetActiveView(m_pView.get());
    m_oHistoryPoster.SetTarget(m_hWnd);
    m_oHistoryPoster.Connect(m_rDoc);
    m_pView->OnInitialUpdate();

    // The notification-area icon is added once the window answers (AddTrayIcon).
    m_nTaskbarCreatedMessage = RegisterWindowMessageW(TASKBAR_CREATED_MESSAGE_NAME);
    m_oTrayIcon.SetOwner(m_hWnd);
    m_oTrayIcon.SetTooltip(KORVEX_PROGRAM_NAME);
    m_oTrayIcon.SetCallbackMessage(WM_KORVEX_TRAY_NOTIFY);

    // The clipboard: this window owns what the document writes, and stands in the viewer chain.
    m_rClipboardPort.SetOwner(m_hWnd);
    m_nSecondsPerMinute = SecondsPerForgetMinute();
    ApplyRecordingSettings();
    if (SetTimer(m_hWnd, kFoldTimer, kFoldTickMs, nullptr) == 0) {
        m_oFolded.FoldPending(SIZE_MAX); // no timer: all at once
    }
    if (!m_oClipboardMonitor.Start(m_hWnd, m_rSettings.GetResetClipboardTimer())) {
        OutputDebugStringW(L"Korvex: no re-join timer; \"Reset Clipboard Viewer\" re-joins\n");
    }

    // A keyboard move before the first caption press snaps to this work area.
    m_rcWorkArea = GetPrimaryWorkArea();

    // The marker by which other processes recognise this window: never visible, no size.
    if (!m_wndMarker.CreateEx(0, nullptr, KORVEX_MARKER_WINDOW_TITLE, WS_CHILD, 0, 0, 0, 0, m_hWnd,
                              static_cast<UINT_PTR>(-1))) {
        return -1;
    }
    m_bCreated = true;
    return 0;
}

void CMainFrame::AddTrayIcon() {
    if (m_hTrayImage != nullptr) {
        return;
    }
    // The size the notification area asks for at the system's DPI, from the icon's own images.
    for (const auto& [nId, phImage] :
         {std::pair{IDI_TRAY, &m_hTrayImage}, std::pair{IDI_TRAY_PAUSED, &m_hTrayPausedImage}}) {
        if (FAILED(LoadIconMetric(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId), LIM_SMALL,
                                  phImage))) {
            *phImage = nullptr;
        }
    }
    const bool bPaused = m_rDoc.IsRecordingPaused() && m_hTrayPausedImage != nullptr;
    m_oTrayIcon.Add(bPaused ? m_hTrayPausedImage : m_hTrayImage);
}

void CMainFrame::TogglePauseRecording() {
    m_rDoc.SetRecordingPaused(!m_rDoc.IsRecordingPaused());
    ShowRecordingState();
}

void CMainFrame::ShowRecordingState() {
    const bool bPaused = m_rDoc.IsRecordingPaused();
    m_oTrayIcon.Change(bPaused ? m_hTrayPausedImage : m_hTrayImage,
                       bPaused ? KORVEX_PAUSED_TOOLTIP : KORVEX_PROGRAM_NAME);
}

void CMainFrame::ApplyRecordingSettings() {
    const std::wstring& strNever = m_rSettings.GetNeverRecordFrom();
    m_rClipboardPort.SetNeverRecordFrom(CProgramNameList(
        std::u16string_view(reinterpret_cast<const char16_t*>(strNever.data()), strNever.size())));
    if (m_bForgetTimer) {
        KillTimer(m_hWnd, kForgetTimer);
        m_bForgetTimer = false;
    }
    if (m_rSettings.GetForgetAfterMinutes() > 0) {
        const auto nPeriodMs =
            static_cast<UINT>(m_nSecondsPerMinute * 1000 / kForgetTicksPerMinute);
        m_bForgetTimer = SetTimer(m_hWnd, kForgetTimer, nPeriodMs, nullptr) != 0;
        ForgetExpiredEntries();
    }
}

void CMainFrame::ForgetExpiredEntries() {
    if (const uint32_t nMinutes = m_rSettings.GetForgetAfterMinutes(); nMinutes > 0) {
        m_rDoc.ForgetUnbookmarked(static_cast<int64_t>(nMinutes) * m_nSecondsPerMinute);
    }
}

void CMainFrame::OnDestroy() {
    if (m_bCreated) {
        SavePlacement();
    }
    m_oTrayIcon.Remove();
    for (HICON* phImage : {&m_hTrayImage, &m_hTrayPausedImage}) {
        if (*phImage != nullptr) {
            DestroyIcon(*phImage);
            *phImage = nullptr;
        }
    }
    if (m_bForgetTimer) {
        KillTimer(m_hWnd, kForgetTimer);
        m_bForgetTimer = false;
    }
    if (m_pSmallClip) {
        // Its posted release would find no frame. Exit waits for the modal loops, so the
        // object goes now; should one run after all, it goes with this object.
        m_pSmallClip->DestroyWindow();
        ReleaseSmallClip();
    }
    m_oClipboardMonitor.Stop();
    m_oHistoryPoster.Disconnect();
    m_rClipboardPort.SetOwner(nullptr);
    CFrameWnd::OnDestroy();
}

void CMainFrame::SavePlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(m_hWnd, &wp)) {
        return;
    }
    // The normal rectangle comes in workspace coordinates (relative to the work area of the
    // window's monitor); the window is created in screen coordinates.
    RECT rc = wp.rcNormalPosition;
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi)) {
        OffsetRect(&rc, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    }
    m_rSettings.SetMainWindowPlacement(
        WINDOW_PLACEMENT_VALUES{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top});
    m_rSettings.SetDockingEnabled(m_bDocking != FALSE);
}

BOOL CMainFrame::ToggleShown() {
    if (m_bShown) {
        ShowWindow(m_hWnd, SW_HIDE);
        m_bShown = FALSE;
    } else {
        ShowWindow(m_hWnd, SW_SHOWNORMAL);
        BringToForeground();
        m_bShown = TRUE;
    }
    return m_bShown;
}

void CMainFrame::BringToForeground() {
    // With a dialog or message box of ours open, that one comes forward: it must not end up
    // behind the window it keeps disabled.
    HWND hWndPopup = GetLastActivePopup(m_hWnd);
    if (hWndPopup != nullptr && hWndPopup != m_hWnd && IsWindowVisible(hWndPopup)) {
        SetForegroundWindow(hWndPopup);
        return;
    }
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
}

void CMainFrame::OnClose() {
    // Closing only hides: the program goes on in the notification area.
    ToggleShown();
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
    if (nType == SIZE_MINIMIZED) {
        ToggleShown();
        return;
    }
    CFrameWnd::OnSize(nType, cx, cy);
}

bool CMainFrame::OnCommandNotify(UINT nId, UINT nCode, HWND hCtrl) {
    return (m_pView && m_pView->OnFieldNotify(nCode, hCtrl)) ||
           CFrameWnd::OnCommandNotify(nId, nCode, hCtrl);
}

void CMainFrame::RecalcLayout() {
    if (m_hWnd == nullptr || !m_pView || m_pView->GetSafeHwnd() == nullptr) {
        return;
    }
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    m_pView->Layout(rc);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    if (m_pView && m_pView->PreTranslateFieldMessage(pMsg)) {
        return TRUE;
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        // The first Esc clears a filter, the next hides the window.
        if (!m_pView || !m_pView->ClearFilter()) {
            ToggleShown();
        }
        return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMainFrame::OnTimer(UINT_PTR nIdEvent) {
    // The forget and fold timers and the clipboard monitor's; any other (posted by someone else)
    // does nothing. A forged forget tick forgets only what is due anyway, a forged fold tick
    // folds only what is left.
    if (nIdEvent == kForgetTimer) {
        ForgetExpiredEntries();
        return;
    }
    if (nIdEvent == kFoldTimer) {
        if (!m_oFolded.FoldPending(kFoldSliceUnits)) {
            KillTimer(m_hWnd, kFoldTimer);
        }
        return;
    }
    m_oClipboardMonitor.OnTimer(nIdEvent);
}

void CMainFrame::OnNcLButtonDown(WPARAM nHitTest, LPARAM ptScreen) {
    if (nHitTest == HTCAPTION) {
        RECT rc{};
        GetWindowRect(m_hWnd, &rc);
        m_ptGrabOffset.x = GET_X_LPARAM(ptScreen) - rc.left;
        m_ptGrabOffset.y = GET_Y_LPARAM(ptScreen) - rc.top;
        m_rcWorkArea = GetPrimaryWorkArea();
    }
}

void CMainFrame::OnMoving(RECT* pRect) {
    if (!m_bDocking || pRect == nullptr) {
        return;
    }
    POINT ptCursor{};
    GetCursorPos(&ptCursor);
    *pRect = SnapMovingRect(*pRect, ptCursor, m_ptGrabOffset, m_rcWorkArea);
}

LRESULT CMainFrame::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_DRAWCLIPBOARD:
        m_oClipboardMonitor.OnDrawClipboard();
        return Default();
    case WM_CHANGECBCHAIN:
        Default();
        m_oClipboardMonitor.OnChangeCbChain(wParam, lParam);
        return 0;
    case WM_NCLBUTTONDOWN:
        OnNcLButtonDown(wParam, lParam);
        return Default();
    case WM_MOVING:
        if (!m_bDocking) {
            return TRUE;
        }
        OnMoving(reinterpret_cast<RECT*>(lParam));
        return Default();
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        // Windows ends the session (and then this process, without an Exit): save what Exit
        // saves. Saving again when the session goes on after all does no harm.
        if ((nMsg == WM_QUERYENDSESSION || wParam != 0) && m_bCreated) {
            SavePlacement();
            if (CKorvexApp* pApp = CKorvexApp::GetInstance()) {
                pApp->GetKeptHistory().Drain(); // the kept history's last writes
            }
        }
        return nMsg == WM_QUERYENDSESSION ? TRUE : 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETFOCUS:
        // The list gets the keyboard whenever the frame is given the focus.
        if (m_pView && m_pView->m_hWnd != nullptr) {
            SetFocus(m_pView->m_hWnd);
            return 0;
        }
        return Default();
    default:
        break;
    }
    if (nMsg == m_nTaskbarCreatedMessage && m_nTaskbarCreatedMessage != 0) {
        // The notification area was re-created (the shell restarted): put the icon back.
        m_oTrayIcon.Restore();
        return 0;
    }
    if (OnUserMessage(nMsg, wParam, lParam)) {
        return 0;
    }
    return CFrameWnd::WindowProc(nMsg, wParam, lParam);
}

void CMainFrame::OnDpiChanged(UINT nDpi, const RECT& rcSuggested) {
    // Moved to a monitor of another DPI: take the size Windows suggests for it, and let the list
    // scale its columns and images.
    if (m_pView) {
        m_pView->OnDpiChanged(nDpi);
    }
    SetWindowPos(m_hWnd, nullptr, rcSuggested.left, rcSuggested.top,
                 rcSuggested.right - rcSuggested.left, rcSuggested.bottom - rcSuggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CMainFrame::OnUserMessage(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_KORVEX_TRAY_NOTIFY:
        OnTrayNotify(lParam);
        return true;
    case WM_KORVEX_OPTIONS_CHANGED:
        // The settings again, as stored now (hand edits included), then the history's limits
        // and what it keeps between runs and records.
        m_rSettings.Load();
        m_rDoc.LoadSettings();
        if (CKorvexApp* pApp = CKorvexApp::GetInstance()) {
            pApp->GetKeptHistory().SetMode(m_rSettings.GetKeepHistory());
        }
        ApplyRecordingSettings();
        return true;
    case WM_KORVEX_RELEASE_SMALL_CLIP:
        ReleaseSmallClip();
        return true;
    case WM_KORVEX_FINISH_START_UP:
        if (auto fnStep = std::exchange(m_fnStartUpStep, nullptr)) {
            fnStep();
        }
        return true;
    case WM_HISTORY_CHANGED:
        if (m_pSmallClip) {
            m_pSmallClip->Refresh(HistoryHint::FromMessageParam(wParam));
        }
        return true;
    default:
        break;
    }
    return RunHotkeyCommand(*this, nMsg);
}

void CMainFrame::OpenFirstItem(bool bEdit) {
    if (IsModalLoopActive()) {
        // One dialog at a time: the open one comes forward instead.
        BringToForeground();
        return;
    }
    if (bEdit) {
        EditHistoryItem(m_rDoc, 0, m_hWnd, [](CViewItemDlg& dlg) { return dlg.DoModal(); });
    } else if (m_rDoc.GetItemCount() > 0) {
        CViewItemDlg dlg(CViewItemDlg::MODE_PREVIEW, m_rDoc.FindItem(0), m_hWnd);
        dlg.DoModal();
    }
}

void CMainFrame::ToggleSmallClip() {
    // A window that is gone already but whose release has not come yet is no open window.
    ReleaseSmallClip();
    if (m_pSmallClip && m_pSmallClip->IsOpen()) {
        // Not while a box or dialog of one of its commands is open: that command is still
        // running on the window.
        if (!m_pSmallClip->IsModalChildOpen()) {
            m_pSmallClip->CloseGivingKeyboardBack();
        }
        return;
    }
    if (PrepareSmallClip()) {
        m_pSmallClip->Open();
    }
}

bool CMainFrame::PrepareSmallClip() {
    if (m_pSmallClip && !m_pSmallClip->IsWindowGone()) {
        return true;
    }
    if (m_pSmallClip) {
        return false; // gone, its release still to come
    }
    m_pSmallClip = std::make_unique<CSmallClipDlg>(m_rDoc, m_rSettings, &m_oFolded);
    if (!m_pSmallClip->Create(m_hWnd)) {
        m_pSmallClip.reset();
        return false;
    }
    return true;
}

void CMainFrame::ReleaseSmallClip() {
    // Only an object whose window is gone is deleted (any process can post the release request),
    // and never while a modal loop runs: that loop may run under one of the window's handlers
    // (its message box, editor or context menu), which goes on using the object afterwards.
    if (!m_pSmallClip || !m_pSmallClip->IsWindowGone()) {
        return;
    }
    if (IsModalLoopActive()) {
        PostWhenModalEnds(m_hWnd, WM_KORVEX_RELEASE_SMALL_CLIP);
        return;
    }
    std::unique_ptr<CSmallClipDlg> pSmallClip = std::move(m_pSmallClip); // forgotten first
    pSmallClip.reset();
}

void CMainFrame::OnTrayNotify(LPARAM nMouseMessage) {
    if (nMouseMessage == WM_LBUTTONDOWN) {
        ToggleShown();
    } else if (nMouseMessage == WM_RBUTTONDOWN) {
        ShowTrayMenu();
    }
}

void CMainFrame::ShowTrayMenu() {
    // One menu at a time: any program can post the tray icon's notice while the menu is open.
    if (m_bTrayMenuOpen) {
        return;
    }
    POINT pt{};
    GetCursorPos(&pt);
    // In the foreground, so that the menu closes when the user clicks elsewhere.
    BringToForeground();
    m_bTrayMenuOpen = true;
    ShowPopupMenu(IDR_TRAYMENU, 0, pt, m_hWnd, 0); // "Show Korvex" in bold
    m_bTrayMenuOpen = false;
    // The switch back from the menu, so that it opens again the next time.
    PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

bool CMainFrame::OnCommand(UINT nId) {
    switch (nId) {
    case ID_FILE_CLEAR_LIST:
    case ID_TRAY_CLEAR_LIST:
        OnClearList();
        return true;
    case ID_FILE_EXIT:
    case ID_TRAY_EXIT:
        OnExit();
        return true;
    case ID_VIEW_ENABLE_DOCKING:
        // Written to the settings when the window goes.
        m_bDocking = m_bDocking ? FALSE : TRUE;
        return true;
    case ID_TRAY_SHOW:
        ToggleShown();
        return true;
    case ID_TRAY_PASTE_ACTIVATED:
        OnToggleDoPaste();
        return true;
    case ID_TRAY_PAUSE_RECORDING:
        TogglePauseRecording();
        return true;
    case ID_HELP_ABOUT:
        OnAbout();
        return true;
    case ID_FILE_OPTIONS:
    case ID_TRAY_OPTIONS:
        OnOptions();
        return true;
    case ID_HELP_VISIT_ONLINE:
        OnVisitOnline();
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OnUpdateCommand(UINT nId, CCmdUI& ui) {
    switch (nId) {
    case ID_VIEW_ENABLE_DOCKING:
        ui.SetCheck(m_bDocking != FALSE);
        return true;
    case ID_TRAY_PASTE_ACTIVATED:
        ui.SetCheck(m_rSettings.IsDoPaste());
        return true;
    case ID_TRAY_PAUSE_RECORDING:
        ui.SetCheck(m_rDoc.IsRecordingPaused());
        return true;
    default:
        return false;
    }
}

void CMainFrame::OnExit() {
    // Never under an open dialog or message box of ours: its caller is still on the stack and
    // would wake up on a destroyed window. Exit again once the last one has closed.
    if (IsModalLoopActive()) {
        PostWhenModalEnds(m_hWnd, WM_COMMAND, MAKEWPARAM(ID_FILE_EXIT, 0), 0);
        return;
    }
    if (m_bShown) {
        ToggleShown();
    }
    DestroyWindow();
}

void CMainFrame::OnClearList() {
    // One box at a time: while one is open the window is disabled, so only a command posted by
    // some program gets here, and boxes stacked without end would exhaust the stack.
    if (IsModalLoopActive()) {
        return;
    }
    if (KorvexMessageBox(m_hWnd, L"Are you sure you want to clear the list?",
                         MB_YESNO | MB_ICONQUESTION) == IDYES) {
        m_rDoc.ClearList();
    }
}

void CMainFrame::OnToggleDoPaste() {
    m_rSettings.SetDoPaste(!m_rSettings.IsDoPaste());
}

void CMainFrame::OnAbout() {
    if (IsModalLoopActive()) {
        return; // one box at a time, as for Clear List
    }
    CAboutDlg dlg;
    dlg.DoModal();
}

void CMainFrame::OnOptions() {
    if (IsModalLoopActive()) {
        // One dialog at a time, from either menu: the open one (or the hotkey editor that the
        // options opened) comes forward instead.
        BringToForeground();
        return;
    }
    const CKorvexApp* pApp = CKorvexApp::GetInstance();
    if (pApp == nullptr) {
        return;
    }
    COptionsDlg dlg(pApp->GetCommandTable(), gl_oKeyboardAccelerator, m_rSettings, m_hWnd);
    dlg.DoModal();
}

void CMainFrame::OnVisitOnline() {
    ShellExecuteW(m_hWnd, nullptr, KORVEX_WEB_PAGE, nullptr, nullptr, SW_SHOWNORMAL);
}
