#pragma once
// The foreground given back when a window of ours goes: the window of another program that was
// in the foreground before, or the one the user sees on top; a hidden window of ours (the main
// window in the notification area) is never left active.

#include <windows.h>

// The foreground window when it belongs to another process, else null.
HWND ForeignForeground();

// When the foreground is now no window or a hidden window of ours: activates hWndBefore when it
// still exists and is visible, otherwise the topmost visible window of another program (not the
// taskbar or the desktop).
void GiveForegroundBack(HWND hWndBefore);
