#pragma once
// Key presses as the system delivers them to every low-level keyboard hook, and the key state
// that this thread's GetKeyState reports.

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace wintest {

struct KeyStroke {
    WORD nKey; // virtual-key code
    bool bUp;
    bool operator==(const KeyStroke&) const = default;
};

inline KeyStroke KeyDown(WORD nKey) {
    return {nKey, false};
}
inline KeyStroke KeyUp(WORD nKey) {
    return {nKey, true};
}
// Presses the keys in order and releases them in reverse order (Ctrl+Alt+A: {VK_CONTROL,
// VK_MENU, 'A'}).
std::vector<KeyStroke> Chord(std::initializer_list<WORD> keys);

// Sends the strokes with SendInput from a worker thread while this thread keeps pumping its
// messages: SendInput returns only after every low-level hook has answered, and a hook may run
// on this thread. Returns how many strokes the system took; 0 when SendInput did not return
// within nTimeoutMs (the hook's thread was blocked).
UINT InjectKeys(const std::vector<KeyStroke>& vecStrokes, DWORD nTimeoutMs = 10000);
// The same for a text, typed character by character as the keyboard's Unicode packets: each
// reaches the focused window as WM_CHAR, whatever the layout.
UINT InjectText(const std::wstring& strText, DWORD nTimeoutMs = 10000);

// Under Wine a window that gets the focus takes the keyboard's state from the X server, which
// knows nothing of injected keys: whatever injection holds is released when the window's thread
// reads its focus events, a moment after the change, and a chord typed meanwhile loses its
// modifiers (Ctrl+Alt+A arrives as Alt+A). These hold a key that nothing binds (F24) until that
// release has come, so that the next chord is typed whole.

// Brings hWnd to the foreground and waits until the change has released the held key (at most
// one second; a fifth of that when hWnd was in front already and a change may still be under
// way). False when hWnd did not come to the foreground within five seconds.
bool SetForegroundSettled(HWND hWnd);
// How long a change that may be under way gets to release the held key.
inline constexpr DWORD kFocusSettleMs = 200;
// Waits at most nSettleMs for a focus change that another program made to release the held key.
void SettleFocusChange(DWORD nSettleMs = kFocusSettleMs);

// While it lives, this thread's GetKeyState reports exactly the given keys as held among Ctrl,
// Alt and Shift (and the given keys besides), as while a key message is being handled.
class CHeldKeys {
public:
    explicit CHeldKeys(std::initializer_list<BYTE> keys);
    ~CHeldKeys();
    CHeldKeys(const CHeldKeys&) = delete;
    CHeldKeys& operator=(const CHeldKeys&) = delete;

private:
    BYTE m_aSaved[256] = {};
};

} // namespace wintest
