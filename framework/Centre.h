#pragma once
// Where a modal dialog or a message box opens: centred over its owner when the owner is visible,
// centred on the monitor under the mouse cursor when it is not (a main window hidden in the
// notification area), and within that monitor's work area either way.

#include <windows.h>

// The rectangle of a window of size sizeWindow centred over *prcOwner (null: over rcWorkArea),
// then moved into rcWorkArea; a window larger than the work area keeps its top-left corner there.
RECT CentredRect(SIZE sizeWindow, const RECT* prcOwner, const RECT& rcWorkArea);

// Moves hWnd (keeping its size) as CentredRect says for hWndOwner (null or hidden: the cursor's
// monitor).
void CentreOverOwner(HWND hWnd, HWND hWndOwner);
