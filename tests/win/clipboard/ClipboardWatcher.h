#pragma once
// A hidden window in the clipboard viewer chain with a history document behind it, wired the way
// the main frame wires it: the chain passes each change on first, then the document reads it
// through CClipboardReadRetry.

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/ClipboardViewerChain.h"
#include "clipboard/ClipboardReadRetry.h"
#include "clipboard/Win32ClipboardPort.h"
#include "history/KorvexDoc.h"
#include "tests/support/win/HandlerWindow.h"

class CClipboardWatcher {
public:
    explicit CClipboardWatcher(uint32_t nMaxCopySize = 5);
    ~CClipboardWatcher();

    HWND Handle() const { return m_oWindow.Handle(); }
    CKorvexDoc& Doc() { return m_oDoc; }
    CClipboardReadRetry& Retry() { return m_oRetry; }
    // Change notifications the chain handed on to be read since the window joined.
    int Notifications() const { return m_nNotifications; }
    // The text of the entry at nIndex (newest first), or "<none>".
    std::u16string EntryText(int32_t nIndex);
    // Pumps messages until the document holds nCount entries; true when it does in time.
    bool WaitForEntries(int32_t nCount, DWORD nTimeoutMs = 5000);

private:
    struct CSettings : IHistorySettings {
        explicit CSettings(uint32_t nMax) : nMaxCopySize(nMax) {}
        int32_t GetBufferSize() override { return 200; }
        uint32_t GetMaxClipboardCopySize() override { return nMaxCopySize; }
        uint32_t nMaxCopySize;
    };

    CSettings m_oSettings;
    CWin32ClipboardPort m_oPort;
    CKorvexDoc m_oDoc{m_oPort, m_oSettings};
    CClipboardViewerChain m_oChain;
    wintest::CHandlerWindow m_oWindow;
    CClipboardReadRetry m_oRetry{m_oDoc, m_oWindow.Handle(), 7};
    int m_nNotifications = 0;
};
