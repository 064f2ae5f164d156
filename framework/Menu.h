#pragma once
// Pop-up menus from the program's resources: the context menus and the tray icon's menu.

#include <windows.h>

// The whole pop-up sequence: load menu resource nMenuId, take its pop-up at position nPopupPos,
// make the item at nDefaultPos the default (drawn in bold; -1: none), show it with its left/top
// at ptScreen (screen coordinates) for hOwner, which receives WM_INITMENUPOPUP and the chosen
// command, and destroy it when it closes. Returns false when the menu or pop-up does not exist
// (nothing is shown then).
bool ShowPopupMenu(UINT nMenuId, int nPopupPos, POINT ptScreen, HWND hOwner, int nDefaultPos = -1);
