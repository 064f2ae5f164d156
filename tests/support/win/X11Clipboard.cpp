#include "tests/support/win/X11Clipboard.h"

namespace wintest {

bool CX11ClipboardOwner::Copy(const std::string& strUtf8) {
    // -quiet keeps xclip in the foreground, where its process id is known, until it loses the
    // selection.
    return WriteWholeFile(m_oXclip.WindowsPath(".in"), strUtf8) &&
           m_oXclip.Start("/usr/bin/xclip -quiet -selection clipboard -i " +
                          m_oXclip.UnixPath(".in"));
}

std::optional<std::string> ReadX11Clipboard(DWORD nTimeoutMs) {
    CLinuxCommand oRead;
    if (oRead.Start("/usr/bin/xclip -o -selection clipboard") && oRead.WaitForEnd(nTimeoutMs) &&
        oRead.ExitStatus() == 0) {
        return oRead.Output();
    }
    return std::nullopt;
}

} // namespace wintest
