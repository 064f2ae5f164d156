#pragma once
// The program's message loop.

#include <windows.h>

// Runs until WM_QUIT and returns its exit code. For each message: PreTranslateMessage of our
// windows from the target window up through its parents to its top-level window (the first
// that returns TRUE consumes the message), then TranslateMessage and DispatchMessage.
// Modeless dialogs get their keyboard navigation through CDialog::PreTranslateMessage.
// While it runs, forged notifications posted to the thread are dropped (PostedMessageFilter.h).
int RunMessageLoop();

// One message through the same steps as RunMessageLoop (used by the modal loops too).
void PumpMessage(MSG& msg);

// PreTranslateMessage of our windows from msg.hwnd up to its top-level window; true when one of
// them consumed the message.
bool PreTranslateMessageChain(MSG& msg);
