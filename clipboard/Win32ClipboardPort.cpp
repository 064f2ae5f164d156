#include "clipboard/Win32ClipboardPort.h"

#include "clipboard/ClipboardText.h"

uint32_t CWin32ClipboardPort::GetSequenceNumber() {
    return GetClipboardSequence();
}

ClipboardRead CWin32ClipboardPort::ReadText(uint64_t nMaxBytes) {
    return ReadClipboardText(m_hOwner, nMaxBytes, &m_oNeverRecordFrom);
}

ClipboardWriteStatus CWin32ClipboardPort::WriteText(const std::u16string& strText) {
    return WriteClipboardText(m_hOwner, strText);
}
