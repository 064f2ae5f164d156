#include "KorvexApp.h"

#include "HotkeyCommands.h"
#include "KorvexCommandLineInfo.h"
#include "MainFrame.h"
#include "framework/MessageBox.h"
#include "framework/MessageLoop.h"
#include "hotkeys/KeyboardAccelerator.h"
#include "hotkeys/KorvexMainWindow.h"
#include "res/KorvexMessages.h"
#include "settings/SmartRegistry.h"

#include <commctrl.h>

namespace {

CKorvexApp* g_pApp = nullptr;

// Registry errors are shown like every other box of ours: captioned "Korvex" and counted as a
// modal loop, so that an Exit chosen meanwhile waits for it.
void ShowRegistryError(const std::wstring& strText) {
    KorvexMessageBox(nullptr, strText.c_str(), MB_OK);
}

} // namespace

CKorvexApp::CKorvexApp()
    : m_oCommandTable(GetHotkeyDescriptions()), m_oSettings(GetHotkeyDescriptions()) {
    g_pApp = this;
}

CKorvexApp::~CKorvexApp() {
    // The frame goes before the document it shows, the journal before the document it hears.
    m_pMainFrame.reset();
    m_oKeptHistory.Stop();
    m_pDoc.reset();
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

CKorvexApp* CKorvexApp::GetInstance() {
    return g_pApp;
}

BOOL CKorvexApp::InitInstance(const wchar_t* pszCommandLine) {
    // One Korvex per desktop: a second start wakes the first (show/hide) and ends quietly,
    // before it has touched anything.
    if (HWND hWndRunning = FindKorvexMainWindow()) {
        PostMessageW(hWndRunning, HM_SHOW_MAIN_WINDOW, 0, 0);
        return FALSE;
    }

    SetAppTitle(KORVEX_PROGRAM_NAME);
    SetRegistryErrorReporter(&ShowRegistryError);
    // Every setting is read here, once, and again only when the options change.
    m_oSettings.Load();
    // The kept history is read beside the making of the windows, and taken before they answer.
    m_oKeptHistory.BeginLoad(m_oSettings.GetKeepHistory());

    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = 0xFF; // list views, tree views, bars, tabs, up-down, progress, hotkey, animation
    InitCommonControlsEx(&icc);

    // The history takes its limits from the settings. It starts empty, or with the entries kept
    // from the last run, taken before the window answers (and older than a copy it recorded
    // meanwhile); those past "Forget after" go at once.
    m_pDoc = std::make_unique<CKorvexDoc>(m_oClipboardPort, m_oSettings);
    m_pMainFrame = std::make_unique<CMainFrame>(*m_pDoc, m_oClipboardPort, m_oSettings);
    if (!m_pMainFrame->Create()) {
        m_pMainFrame.reset();
        return FALSE;
    }
    CWnd::SetMainWindow(m_pMainFrame.get());
    m_oKeptHistory.Start(*m_pDoc);
    m_pMainFrame->ForgetExpiredEntries();

    // The window records copies and answers as soon as it exists; the rest follows on the first
    // turn of the message loop.
    m_strCommandLine = pszCommandLine != nullptr ? pszCommandLine : L"";
    m_pMainFrame->SetStartUpStep([this] { FinishStartUp(); });
    if (!PostMessageW(m_pMainFrame->GetSafeHwnd(), WM_KORVEX_FINISH_START_UP, 0, 0)) {
        FinishStartUp();
    }
    return TRUE;
}

void CKorvexApp::FinishStartUp() {
    if (m_bStartUpFinished || !m_pMainFrame) {
        return;
    }
    m_bStartUpFinished = true;
    m_pMainFrame->AddTrayIcon();
    m_pMainFrame->PrepareSmallClip();

    // Hidden in the notification area unless the start asked for the window; shown, it counts
    // as shown, so the first Close, Esc or minimise hides it.
    CKorvexCommandLineInfo oCommandLine;
    oCommandLine.ParseCommandLine(m_strCommandLine.c_str());
    if (oCommandLine.m_bShowAtStart) {
        m_pMainFrame->ToggleShown();
    }

    FirstRunStep();
    m_oCommandTable.RegisterHotkeys(gl_oKeyboardAccelerator, m_oSettings);
    if (!IsKeyboardHookInstalled()) {
        // Say so rather than leave every global hotkey silently dead.
        const std::wstring strText = L"The global hotkeys are not available: the keyboard hook "
                                     L"could not be installed.\n\n" +
                                     GetSystemErrorText(GetKeyboardHookError());
        KorvexMessageBox(nullptr, strText.c_str(), MB_OK | MB_ICONWARNING);
    }
    // A kept history that could not be read is said once, when the window answers.
    if (const std::wstring strNotice = m_oKeptHistory.TakeNotice(); !strNotice.empty()) {
        KorvexMessageBox(nullptr, strNotice.c_str(), MB_OK | MB_ICONWARNING);
    }
}

void CKorvexApp::FirstRunStep() {
    if (m_oSettings.IsFirstRun()) {
        m_oSettings.SetFirstRunDone();
        CKorvexSettings::SetStartWithWindows(true);
    }
}

int CKorvexApp::Run() {
    return RunMessageLoop();
}
