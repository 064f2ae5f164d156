#pragma once
// The program behind a window: the full path of the executable of the process that created it.

#include <windows.h>

#include <string>

// The executable's path ("C:\Program Files\Vault\Vault.exe"); empty when there is no such
// window any more, or its process cannot be asked (it has ended, or the system refuses).
std::wstring GetWindowProgramPath(HWND hWnd);
