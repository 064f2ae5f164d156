// hookbench.exe: what the keyboard hook costs for a key press that matches no binding, with the
// 25 global hotkey commands in the table: reading the live modifiers and one lookup.
//   hookbench [iterations]     (default 10,000,000)
// Prints the time per key press in nanoseconds.

#include "hotkeys/HookKey.h"
#include "hotkeys/KeyboardAccelerator.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    long long nIterations = 10000000;
    if (argc > 1) {
        nIterations = std::wcstoll(argv[1], nullptr, 10);
        if (nIterations <= 0) {
            std::fprintf(stderr, "usage: hookbench [iterations]\n");
            return 1;
        }
    }

    CKeyboardAccelerator oAccelerator;
    // 25 bindings spread like the commands' defaults: Ctrl+Alt digits, letters and F-keys.
    for (uint16_t nKey = '0'; nKey <= '9'; ++nKey) {
        oAccelerator.AddHotkeyMessageID(1, 1, 0, nKey, 0x465u + (nKey - '0'));
    }
    for (uint16_t nKey = 'A'; nKey < 'A' + 8; ++nKey) {
        oAccelerator.AddHotkeyMessageID(1, 1, 0, nKey, 0x470u + (nKey - 'A'));
    }
    for (uint16_t nKey = VK_F1; nKey < VK_F1 + 7; ++nKey) {
        oAccelerator.AddHotkeyMessageID(1, 0, 1, nKey, 0x4C0u + (nKey - VK_F1));
    }

    LARGE_INTEGER nFrequency;
    QueryPerformanceFrequency(&nFrequency);
    const auto fnSeconds = [&](const LARGE_INTEGER& nStart, const LARGE_INTEGER& nEnd) {
        return static_cast<double>(nEnd.QuadPart - nStart.QuadPart) /
               static_cast<double>(nFrequency.QuadPart);
    };

    // What the hook does for an unmodified 'Q', which matches nothing.
    volatile uint16_t nKey = 'Q';
    long long nMatches = 0;
    LARGE_INTEGER nStart;
    LARGE_INTEGER nEnd;
    QueryPerformanceCounter(&nStart);
    for (long long i = 0; i < nIterations; ++i) {
        nMatches += oAccelerator.ContainsMessageID(
            HookKeyConfiguration(nKey, GetLiveHookModifiers(), ForegroundLayoutHasAltGr));
    }
    QueryPerformanceCounter(&nEnd);
    const double dTotal = fnSeconds(nStart, nEnd);

    // The table lookup on its own, for the share of the key-state reads.
    volatile uint32_t nConfiguration = 'Q';
    QueryPerformanceCounter(&nStart);
    for (long long i = 0; i < nIterations; ++i) {
        nMatches += oAccelerator.ContainsMessageID(nConfiguration);
    }
    QueryPerformanceCounter(&nEnd);
    const double dLookup = fnSeconds(nStart, nEnd);

    const double dPerKey = 1e9 / static_cast<double>(nIterations);
    std::printf("%lld key presses, %lld matched: %.1f ns per key press "
                "(modifier reads and lookup), of which %.1f ns the lookup alone\n",
                nIterations, nMatches, dTotal * dPerKey, dLookup * dPerKey);
    return nMatches == 0 ? 0 : 2;
}
