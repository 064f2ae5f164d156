// The library's start and end: the low-level keyboard hook exists exactly while zendel.dll is
// loaded. It runs on the thread that loaded the library (the host's user-interface thread), so
// it shares gl_oKeyboardAccelerator with the host without any lock.

#include "hotkeys/HookKey.h"
#include "hotkeys/KeyboardAccelerator.h"
#include "hotkeys/KorvexMainWindow.h"

namespace {

HHOOK g_hKeyboardHook = nullptr;
DWORD g_nKeyboardHookError = 0;

// Every key press on the desktop waits for this procedure: an unbound key costs four key-state
// reads and one hash lookup, and the window search runs only after a match. The key is always
// passed on, bound or not.
LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    // Key-ups and system key-downs (Alt without Ctrl, F10) are not hotkeys.
    if (nCode == HC_ACTION && wParam == WM_KEYDOWN) {
        const auto* pEvent = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        // The key is usually on its way to another program's queue, so the modifiers are
        // those held on the keyboard now, not this thread's view of them. AltGr is not Ctrl+Alt.
        const uint32_t nConfiguration =
            HookKeyConfiguration(static_cast<uint16_t>(pEvent->vkCode & 0xFFFF),
                                 GetLiveHookModifiers(), ForegroundLayoutHasAltGr);
        if (nConfiguration != 0 && gl_oKeyboardAccelerator.ContainsMessageID(nConfiguration) != 0) {
            const HWND hMainWnd = FindKorvexMainWindow();
            if (hMainWnd != nullptr) {
                gl_oKeyboardAccelerator.PostMessageIDConfiguration(hMainWnd, nConfiguration);
            }
        }
    }
    return CallNextHookEx(g_hKeyboardHook, nCode, wParam, lParam);
}

// The library's application object: installs the hook when the library is attached to a
// process and removes it when it is detached. gl_oKeyboardAccelerator is constructed before
// the attach and destroyed after the detach, so the hook never sees it missing.
class CZendelApp {
public:
    static void InitInstance() {
        // A failed installation leaves the handle 0 and its error for the host to report:
        // global hotkeys then do nothing, and window-local shortcuts are unaffected.
        g_hKeyboardHook =
            SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleW(nullptr), 0);
        g_nKeyboardHookError = g_hKeyboardHook == nullptr ? GetLastError() : 0;
    }

    static void ExitInstance() {
        if (g_hKeyboardHook != nullptr) {
            UnhookWindowsHookEx(g_hKeyboardHook);
            g_hKeyboardHook = nullptr;
        }
    }
};

} // namespace

bool IsKeyboardHookInstalled() {
    return g_hKeyboardHook != nullptr;
}

DWORD GetKeyboardHookError() {
    return g_nKeyboardHookError;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*pReserved*/) {
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(hInstance);
        CZendelApp::InitInstance();
        break;
    case DLL_PROCESS_DETACH:
        CZendelApp::ExitInstance();
        break;
    default:
        break;
    }
    return TRUE;
}
