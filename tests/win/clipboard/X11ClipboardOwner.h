#pragma once
// An X11 program (xclip) that owns the X clipboard selection with a given text, as a copy made
// in a Linux program would. xclip serves the selection until another program takes it.

#include <string>

#include "LinuxCommand.h"

class CX11ClipboardOwner {
public:
    CX11ClipboardOwner() = default;
    ~CX11ClipboardOwner();
    CX11ClipboardOwner(const CX11ClipboardOwner&) = delete;
    CX11ClipboardOwner& operator=(const CX11ClipboardOwner&) = delete;

    // Writes the text (UTF-8) to a file and starts xclip on it.
    bool Copy(const std::string& strUtf8);
    // Ends xclip: another program takes the selection, which xclip answers by ending.
    void End(DWORD nTimeoutMs = 5000);

private:
    CLinuxCommand m_oXclip;
    bool m_bStarted = false;
};

// What an X11 program gets when it pastes the clipboard (xclip -o); false when xclip failed.
bool ReadX11Clipboard(std::string& strUtf8);
