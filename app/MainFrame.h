#pragma once
// The main window of Korvex. Its client area is the history list view. It keeps its placement
// between runs and snaps to the screen edges while dragged; closing, minimising and Escape only
// hide it (only Exit ends the program); it stands in the clipboard viewer chain and hands every
// change to the document; it owns the notification-area icon and the marker child by which other
// processes find it; and it is the target of every global hotkey message.

#include <windows.h>

#include <functional>

#include <memory>

#include "TrayIcon.h"
#include "clipboard/ClipboardMonitor.h"
#include "clipboard/Win32ClipboardPort.h"
#include "framework/FrameWnd.h"
#include "history/HistoryFilter.h"
#include "history/KorvexDoc.h"
#include "settings/KorvexSettings.h"
#include "views/HistoryObserver.h"

class CKorvexListView;
class CSmallClipDlg;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame(CKorvexDoc& rDoc, CWin32ClipboardPort& rClipboardPort, CKorvexSettings& rSettings);
    ~CMainFrame() override;

    // Creates the window (hidden) with its view, chain membership, timer and marker.
    bool Create();
    // What WM_KORVEX_FINISH_START_UP runs, once.
    void SetStartUpStep(std::function<void()> fnStep) { m_fnStartUpStep = std::move(fnStep); }
    // Puts the icon in the notification area.
    void AddTrayIcon();

    // Shows and activates the window when the shown flag is clear, hides it when it is set;
    // returns the new shown flag.
    BOOL ToggleShown();
    BOOL IsShown() const { return m_bShown; }

    CKorvexDoc& GetDocument() const { return m_rDoc; }
    CKorvexListView* GetListView() const { return m_pView.get(); }

    // What the hotkey commands (HotkeyCommands.h) run beside the document's operations.
    // The small clip window: open or close it.
    void ToggleSmallClip();
    // Makes the small clip window (hidden) unless it is there: it is kept between openings, so
    // that an opening only fills and shows it. False when there is none to open now.
    bool PrepareSmallClip();
    // Opens the item editor on the first entry (bEdit) or previews it; with a dialog of ours
    // open, that one comes forward instead.
    void OpenFirstItem(bool bEdit);
    // "Paste Activated Item" switches to its opposite.
    void OnToggleDoPaste();
    // Leaves and re-joins the clipboard viewer chain.
    void RejoinClipboardChain() { m_oClipboardMonitor.Rejoin(); }
    // "Pause Recording" switches to its opposite; the tray icon and its tooltip show it.
    void TogglePauseRecording();
    // Removes the entries that "Forget unbookmarked entries after" lets go by now (also run by
    // its timer, and whenever the settings are applied).
    void ForgetExpiredEntries();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTW* pcs) override;
    void OnDestroy() override;
    void OnClose() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnTimer(UINT_PTR nIdEvent) override;
    bool OnCommand(UINT nId) override;
    bool OnUpdateCommand(UINT nId, CCmdUI& ui) override;
    bool OnCommandNotify(UINT nId, UINT nCode, HWND hCtrl) override;
    // The find-by-typing field above the view while it holds text, the view below it.
    void RecalcLayout() override;

private:
    bool OnUserMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void OnNcLButtonDown(WPARAM nHitTest, LPARAM ptScreen);
    void OnMoving(RECT* pRect);
    void OnDpiChanged(UINT nDpi, const RECT& rcSuggested);
    void OnTrayNotify(LPARAM nMouseMessage);
    void ShowTrayMenu();
    void BringToForeground();
    void OnExit();
    void OnClearList();
    void OnAbout();
    void OnOptions();
    void OnVisitOnline();
    void SavePlacement();
    // What the settings say about recording: the programs never recorded, the forget timer.
    void ApplyRecordingSettings();
    void ShowRecordingState();
    // The small clip window's request: forget and delete it.
    void ReleaseSmallClip();

    CKorvexDoc& m_rDoc;
    CWin32ClipboardPort& m_rClipboardPort;
    CKorvexSettings& m_rSettings;
    // Every entry's text folded for the find-by-typing of both lists (made first, goes last).
    CFoldedHistory m_oFolded;
    std::unique_ptr<CKorvexListView> m_pView;
    CHistoryPoster m_oHistoryPoster;

    CClipboardMonitor m_oClipboardMonitor;

    BOOL m_bShown = FALSE;
    BOOL m_bDocking = FALSE;
    RECT m_rcWorkArea{};
    POINT m_ptGrabOffset{};
    bool m_bCreated = false;

    CWnd m_wndMarker;
    HICON m_hTrayImage = nullptr;
    HICON m_hTrayPausedImage = nullptr;
    int64_t m_nSecondsPerMinute = 60; // of "Forget unbookmarked entries after"
    bool m_bForgetTimer = false;
    CTrayIcon m_oTrayIcon;
    std::function<void()> m_fnStartUpStep;
    bool m_bTrayMenuOpen = false;
    UINT m_nTaskbarCreatedMessage = 0;
    std::unique_ptr<CSmallClipDlg> m_pSmallClip; // made once, kept between openings
};
