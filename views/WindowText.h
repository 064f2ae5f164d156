#pragma once
// A window's or control's whole text as the history keeps text (UTF-16), however long.

#include <windows.h>

#include <string>

std::u16string GetWholeWindowText(HWND hWnd);
