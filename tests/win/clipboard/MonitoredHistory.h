#pragma once
// A history document behind the real clipboard monitor, on a hidden window of the test's thread
// that hands the monitor its messages the way the main frame does.

#include <windows.h>

#include <cstdint>
#include <string>

#include "clipboard/ClipboardMonitor.h"
#include "clipboard/Win32ClipboardPort.h"
#include "history/KorvexDoc.h"
#include "tests/support/win/HandlerWindow.h"
#include "tests/support/win/MessagePump.h"

class CMonitoredHistory {
public:
    explicit CMonitoredHistory(uint32_t nMaxCopySize = 5) : m_oSettings(nMaxCopySize) {
        m_oPort.SetOwner(Handle());
        m_oMonitor.Start(Handle(), 60000);
    }
    ~CMonitoredHistory() { m_oMonitor.Stop(); }

    HWND Handle() const { return m_oWindow.Handle(); }
    CKorvexDoc& Doc() { return m_oDoc; }
    CClipboardMonitor& Monitor() { return m_oMonitor; }
    // The text of the entry at nIndex (newest first), or "<none>".
    std::u16string EntryText(int32_t nIndex) {
        const CLIP_ITEM* pItem = m_oDoc.FindItem(nIndex);
        return pItem ? pItem->strText : u"<none>";
    }
    // Pumps messages until the document holds nCount entries; true when it does in time.
    bool WaitForEntries(int32_t nCount, DWORD nTimeoutMs = 5000) {
        return wintest::PumpUntil([&] { return m_oDoc.GetItemCount() == nCount; }, nTimeoutMs);
    }

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
    CClipboardMonitor m_oMonitor{m_oDoc};
    wintest::CHandlerWindow m_oWindow{
        [this](UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            switch (nMsg) {
            case WM_DRAWCLIPBOARD:
                m_oMonitor.OnDrawClipboard();
                return 0;
            case WM_CHANGECBCHAIN:
                m_oMonitor.OnChangeCbChain(wParam, lParam);
                return 0;
            case WM_TIMER:
                m_oMonitor.OnTimer(wParam);
                return 0;
            default:
                return std::nullopt;
            }
        }};
};
