#pragma once
// Where the keyboard was in the program the user was in, taken when a window of ours is about to
// take the foreground, and given back when it goes: the top-level window, the control that had
// the focus in it, and for an edit field (an edit control, a combo box's edit field, a rich edit)
// its selection, since such a field selects its whole text when the focus comes back to it.

#include <windows.h>

struct KEYBOARD_PLACE {
    HWND hWndActive = nullptr; // the foreground window
    HWND hWndFocus = nullptr;  // the control with the keyboard focus, in hWndActive's thread
    bool bSelection = false;   // hWndFocus is an edit field and nSelStart/nSelEnd are its own
    DWORD nSelStart = 0;
    DWORD nSelEnd = 0;
    bool bCaret = false; // the thread shows a caret: ptCaret is the screen point below its line
    POINT ptCaret{};
};

// The place of the foreground window's thread now.
KEYBOARD_PLACE RememberKeyboardPlace();

// Whether the place's window is in the foreground again and its thread has given the focus to
// one of its windows (until then, a focus or selection given back would be undone by the
// activation's own focus handling).
bool HasTakenForeground(const KEYBOARD_PLACE& oPlace);

// Gives the focus back to the remembered control and puts its selection back, when the control
// still exists and its top-level window is in the foreground. Call it once HasTakenForeground.
void RestoreKeyboardFocus(const KEYBOARD_PLACE& oPlace);
