#pragma once
// The application object: start-up (one Korvex per desktop; a second start wakes the first),
// the document with its main frame and list view, the first-run step, the global hotkeys; then
// the message loop until Exit.

#include <windows.h>

#include <memory>
#include <string>

#include "KeptHistory.h"
#include "clipboard/Win32ClipboardPort.h"
#include "history/KorvexDoc.h"
#include "settings/CommandTable.h"
#include "settings/KorvexSettings.h"

class CMainFrame;

class CKorvexApp {
public:
    CKorvexApp();
    ~CKorvexApp();
    CKorvexApp(const CKorvexApp&) = delete;
    CKorvexApp& operator=(const CKorvexApp&) = delete;

    // The one application object while it lives (null before and after).
    static CKorvexApp* GetInstance();

    // Start-up. FALSE ends the process without a message loop (another Korvex runs, or the main
    // window could not be created).
    BOOL InitInstance(const wchar_t* pszCommandLine);
    // The message loop; returns the exit code when the main window is gone.
    int Run();

    CKorvexDoc* GetDocument() const { return m_pDoc.get(); }
    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }
    // The hotkey commands by message number.
    const CCommandTable& GetCommandTable() const { return m_oCommandTable; }
    // The history kept between runs.
    CKeptHistory& GetKeptHistory() { return m_oKeptHistory; }

private:
    // Start-up's second half, run once the window answers.
    void FinishStartUp();
    void FirstRunStep();

    CCommandTable m_oCommandTable;
    CWin32ClipboardPort m_oClipboardPort;
    CKorvexSettings m_oSettings; // loaded at start-up and again when the options change
    std::unique_ptr<CKorvexDoc> m_pDoc;
    CKeptHistory m_oKeptHistory; // the document's journal while both live
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::wstring m_strCommandLine;
    bool m_bStartUpFinished = false;
};
