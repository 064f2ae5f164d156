#pragma once
// A hidden window in the clipboard viewer chain with a history document behind it, wired the way
// the main frame wires it: each change is passed on along the chain first, then handed to the
// document through CClipboardReadRetry.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "clipboard/ClipboardReadRetry.h"
#include "clipboard/Win32ClipboardPort.h"
#include "history/KorvexDoc.h"

class CFixedHistorySettings : public IHistorySettings {
public:
    int32_t GetBufferSize() override { return m_nBufferSize; }
    uint32_t GetMaxClipboardCopySize() override { return m_nMaxCopySize; }

    int32_t m_nBufferSize = 200;
    uint32_t m_nMaxCopySize = 5;
};

class CClipboardWatcher {
public:
    static constexpr UINT_PTR kRetryTimerId = 7;

    explicit CClipboardWatcher(uint32_t nMaxCopySize = 5);
    ~CClipboardWatcher();
    CClipboardWatcher(const CClipboardWatcher&) = delete;
    CClipboardWatcher& operator=(const CClipboardWatcher&) = delete;

    bool IsReady() const { return m_hWnd != nullptr; }
    CKorvexDoc& GetDoc() { return *m_pDoc; }
    CClipboardReadRetry& GetRetry() { return *m_pRetry; }
    // Change notifications received since the window joined the chain.
    int GetNotificationCount() const { return m_nNotifications; }
    // The text of the entry at nIndex (newest first), or "<none>".
    std::u16string GetEntryText(int32_t nIndex);
    // Pumps messages until the document holds nCount entries; true when it does in time.
    bool WaitForEntryCount(int32_t nCount, DWORD nTimeoutMs);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    HWND m_hNextViewer = nullptr;
    bool m_bJoining = false;
    int m_nNotifications = 0;
    CFixedHistorySettings m_oSettings;
    CWin32ClipboardPort m_oPort;
    std::unique_ptr<CKorvexDoc> m_pDoc;
    std::unique_ptr<CClipboardReadRetry> m_pRetry;
};
