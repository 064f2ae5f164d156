#pragma once
// The X11 side of the clipboard, as Linux programs see it, through xclip.

#include <windows.h>

#include <optional>
#include <string>

#include "tests/support/win/LinuxCommand.h"

namespace wintest {

// An X11 program that owns the clipboard selection with a text, as a copy made in a Linux
// program does. It serves the selection until another program takes it or the object goes.
class CX11ClipboardOwner {
public:
    // Starts xclip on the text (UTF-8); false when it could not be started.
    bool Copy(const std::string& strUtf8);
    bool IsServing() { return !m_oXclip.HasEnded(); }

private:
    CLinuxCommand m_oXclip;
};

// What an X11 program pastes (xclip -o), UTF-8; nullopt when xclip failed or did not end in time.
std::optional<std::string> ReadX11Clipboard(DWORD nTimeoutMs = 10000);

} // namespace wintest
