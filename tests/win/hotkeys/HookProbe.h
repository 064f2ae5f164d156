#pragma once
// A second low-level keyboard hook on the test thread. Hooks of one thread run one after the
// other inside the same chain, and the library's hook posts before it passes an event on: once
// the probe has recorded an event, the library has finished with it, and whatever it posted
// for it is already queued.

#include "KeyInjector.h"

#include <windows.h>

#include <vector>

struct HOOK_EVENT {
    DWORD nKey;      // virtual-key code as the hook saw it
    WPARAM nMessage; // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
};

class CHookProbe {
public:
    CHookProbe();
    ~CHookProbe();
    CHookProbe(const CHookProbe&) = delete;
    CHookProbe& operator=(const CHookProbe&) = delete;

    bool IsInstalled() const { return m_hHook != nullptr; }
    void Clear();
    const std::vector<HOOK_EVENT>& Events() const;
    // Pumps until the hook chain has handled the strokes, in their order (true), or the time
    // is up (false).
    bool WaitForStrokes(const std::vector<KEY_STROKE>& vecStrokes, DWORD nTimeoutMs) const;

private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);

    HHOOK m_hHook = nullptr;
};
