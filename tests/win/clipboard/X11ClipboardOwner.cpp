#include "X11ClipboardOwner.h"

#include "ChildProcess.h"

CX11ClipboardOwner::~CX11ClipboardOwner() {
    End();
    DeleteFileW(m_oXclip.WindowsPath(".txt").c_str());
}

bool CX11ClipboardOwner::Copy(const std::string& strUtf8) {
    if (!WriteWholeFile(m_oXclip.WindowsPath(".txt"), strUtf8)) {
        return false;
    }
    // -quiet keeps xclip in the foreground until it loses the selection.
    m_bStarted = m_oXclip.Start("/usr/bin/xclip -quiet -selection clipboard -i " +
                                m_oXclip.UnixPath(".txt"));
    return m_bStarted;
}

void CX11ClipboardOwner::End(DWORD nTimeoutMs) {
    if (!m_bStarted || m_oXclip.HasEnded()) {
        return;
    }
    RunClipTool(L"write-utf8 end");
    if (!m_oXclip.WaitForEnd(nTimeoutMs)) {
        // Not by a broad name: only the xclip serving this object's own file ([x] keeps the
        // pattern from matching the shell that runs pkill).
        CLinuxCommand oKill;
        oKill.Start("pkill -f [x]clip.*" + m_oXclip.UnixPath(".txt"));
        oKill.WaitForEnd(nTimeoutMs);
    }
}

bool ReadX11Clipboard(std::string& strUtf8) {
    CLinuxCommand oRead;
    const bool bRead = oRead.Start("/usr/bin/xclip -o -selection clipboard") &&
                       oRead.WaitForEnd(10000) && oRead.GetExitStatus() == 0;
    strUtf8 = oRead.GetOutput();
    return bRead;
}
