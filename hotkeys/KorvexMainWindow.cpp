#include "hotkeys/KorvexMainWindow.h"

HWND FindKorvexMainWindow() {
    HWND hWnd = FindWindowExW(nullptr, nullptr, nullptr, KORVEX_MAIN_WINDOW_TITLE);
    while (hWnd != nullptr) {
        if (FindWindowExW(hWnd, nullptr, nullptr, KORVEX_MARKER_WINDOW_TITLE) != nullptr) {
            return hWnd;
        }
        // Another program's window with the same title: go on after it.
        hWnd = FindWindowExW(nullptr, hWnd, nullptr, KORVEX_MAIN_WINDOW_TITLE);
    }
    return nullptr;
}
