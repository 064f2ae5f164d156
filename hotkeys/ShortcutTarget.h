#pragma once
// The object on which a window-local shortcut runs. Windows that own a CKeyboardAccelerator
// derive from it; the library knows nothing else of them.

class CShortcutTarget {
public:
    virtual ~CShortcutTarget() = default;
};

// A parameterless operation of the window; bind one with
// static_cast<HOTKEY_FUNCTION>(&CMyWindow::OnCommand).
using HOTKEY_FUNCTION = void (CShortcutTarget::*)();
