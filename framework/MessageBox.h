#pragma once
// Every message box of the program: captioned with the program's title (SetAppTitle), counted as
// an open modal box (IsModalLoopActive), and replaceable in tests.

#include <windows.h>

// Shows a message box; nFlags as MessageBoxW (MB_YESNO | MB_ICONQUESTION...). A null owner
// takes CWnd::GetSafeOwner(null). Returns the id of the button that closed it.
int KorvexMessageBox(HWND hOwner, const wchar_t* pszText, UINT nFlags);

// What KorvexMessageBox calls to show the box: MessageBoxW unless a test put its own in place.
using MessageBoxFunction = int (*)(HWND hOwner, const wchar_t* pszText, const wchar_t* pszCaption,
                                   UINT nFlags);
// Puts pfn in place (null puts MessageBoxW back) and returns the previous function.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction pfn);

// The program's title, the caption of every message box; the application sets it at start.
const wchar_t* GetAppTitle();
void SetAppTitle(const wchar_t* pszTitle);
