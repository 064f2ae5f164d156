#pragma once
// Drops forged notifications from the thread's message queue.
//
// Some messages carry a pointer in lParam and reach a window only by being sent by the system or
// by a control of the same thread: WM_NOTIFY, its reflection, WM_MOVING and WM_SIZING. Any
// process can post them, though, with any number as the pointer, and a handler that follows it
// crashes. While the filter lives, every such message that comes out of the calling thread's
// queue (through any message loop, modal ones included) becomes WM_NULL.

#include <windows.h>

class CPostedMessageFilter {
public:
    CPostedMessageFilter();
    ~CPostedMessageFilter();
    CPostedMessageFilter(const CPostedMessageFilter&) = delete;
    CPostedMessageFilter& operator=(const CPostedMessageFilter&) = delete;

    // Whether a message of this number is only ever sent, never posted.
    static bool IsSentOnly(UINT nMsg);

private:
    HHOOK m_hHook = nullptr;
};
