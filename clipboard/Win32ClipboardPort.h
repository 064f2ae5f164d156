#pragma once
// The history document's way to the Win32 clipboard.

#include <windows.h>

#include <utility>

#include "history/HistoryPorts.h"
#include "history/ProgramNameList.h"

class CWin32ClipboardPort : public IClipboardPort {
public:
    CWin32ClipboardPort() = default;
    explicit CWin32ClipboardPort(HWND hOwner) : m_hOwner(hOwner) {}

    // The window that opens and owns the clipboard; a window of the user-interface thread.
    void SetOwner(HWND hOwner) { m_hOwner = hOwner; }
    HWND GetOwner() const { return m_hOwner; }
    // The programs whose copies are read as Excluded ("Never record copies from").
    void SetNeverRecordFrom(CProgramNameList oPrograms) {
        m_oNeverRecordFrom = std::move(oPrograms);
    }

    uint32_t GetSequenceNumber() override;
    ClipboardRead ReadText(uint64_t nMaxBytes) override;
    ClipboardWriteStatus WriteText(const std::u16string& strText) override;

private:
    HWND m_hOwner = nullptr;
    CProgramNameList m_oNeverRecordFrom;
};
