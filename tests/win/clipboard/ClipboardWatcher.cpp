#include "ClipboardWatcher.h"

#include "tests/support/win/MessagePump.h"

CClipboardWatcher::CClipboardWatcher(uint32_t nMaxCopySize)
    : m_oSettings(nMaxCopySize),
      m_oWindow([this](UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
          if (nMsg == WM_DRAWCLIPBOARD) {
              if (m_oChain.OnDrawClipboard()) {
                  ++m_nNotifications;
                  m_oRetry.OnClipboardChanged();
              }
              return 0;
          }
          if (nMsg == WM_CHANGECBCHAIN) {
              m_oChain.OnChangeCbChain(reinterpret_cast<HWND>(wParam),
                                       reinterpret_cast<HWND>(lParam));
              return 0;
          }
          if (nMsg == WM_TIMER && m_oRetry.OnTimer(wParam)) {
              return 0;
          }
          return std::nullopt;
      }) {
    m_oPort.SetOwner(Handle());
    m_oChain.SetWindow(Handle());
    m_oChain.Join();
}

CClipboardWatcher::~CClipboardWatcher() {
    m_oChain.Leave();
}

std::u16string CClipboardWatcher::EntryText(int32_t nIndex) {
    const CLIP_ITEM* pItem = m_oDoc.FindItem(nIndex);
    return pItem ? pItem->strText : u"<none>";
}

bool CClipboardWatcher::WaitForEntries(int32_t nCount, DWORD nTimeoutMs) {
    return wintest::PumpUntil([&] { return m_oDoc.GetItemCount() == nCount; }, nTimeoutMs);
}
