// xkeymap: the time from a key chord arriving at the X server to a window being mapped, as a
// user's key press arrives (XTEST), not as a program injects one. It watches every window that
// Wine's virtual desktop (or the root) gets, sends Ctrl+Alt+<key>, takes the time of the first
// MapNotify of a window at least as large as asked, then sends Esc and waits for that window to
// be unmapped before the next opening. Prints one line: openings, misses, median, 95th percentile.
//   xkeymap <openings> <min-width> <min-height> [key]     (key: a keysym name, default "0")
// A native Linux program: clipbench.exe runs it from inside Wine, on the same display.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <sys/select.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Watches the root and each of its children (Wine's desktop window is one): their new
// children's MapNotify and UnmapNotify come to us.
void WatchAll(Display* pDisplay) {
    const Window hRoot = DefaultRootWindow(pDisplay);
    XSelectInput(pDisplay, hRoot, SubstructureNotifyMask);
    Window hRootReturn = 0;
    Window hParent = 0;
    Window* pChildren = nullptr;
    unsigned int nChildren = 0;
    if (XQueryTree(pDisplay, hRoot, &hRootReturn, &hParent, &pChildren, &nChildren) != 0) {
        for (unsigned int i = 0; i < nChildren; ++i) {
            XSelectInput(pDisplay, pChildren[i], SubstructureNotifyMask);
        }
        XFree(pChildren);
    }
}

// Waits up to nTimeoutMs for an event that fnWanted accepts; gives its arrival time or < 0.
template <class F> double WaitForEvent(Display* pDisplay, double nTimeoutMs, F fnWanted) {
    const double nEnd = NowMs() + nTimeoutMs;
    for (;;) {
        while (XPending(pDisplay) > 0) {
            XEvent oEvent;
            XNextEvent(pDisplay, &oEvent);
            const double nAt = NowMs();
            if (fnWanted(oEvent)) {
                return nAt;
            }
        }
        const double nLeft = nEnd - NowMs();
        if (nLeft <= 0) {
            return -1;
        }
        const int nFd = ConnectionNumber(pDisplay);
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(nFd, &fds);
        timeval tv{static_cast<time_t>(nLeft / 1000),
                   static_cast<suseconds_t>(static_cast<long>(nLeft) % 1000 * 1000)};
        select(nFd + 1, &fds, nullptr, nullptr, &tv);
    }
}

void Tap(Display* pDisplay, const std::vector<KeyCode>& vecKeys) {
    for (KeyCode nKey : vecKeys) {
        XTestFakeKeyEvent(pDisplay, nKey, True, CurrentTime);
    }
    for (auto it = vecKeys.rbegin(); it != vecKeys.rend(); ++it) {
        XTestFakeKeyEvent(pDisplay, *it, False, CurrentTime);
    }
    XFlush(pDisplay);
}

double Percentile(std::vector<double> vec, double dShare) {
    std::sort(vec.begin(), vec.end());
    return vec[static_cast<size_t>(dShare * static_cast<double>(vec.size() - 1) + 0.5)];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: xkeymap <openings> <min-width> <min-height> [key]\n");
        return 2;
    }
    const int nOpenings = std::atoi(argv[1]);
    const int nMinWidth = std::atoi(argv[2]);
    const int nMinHeight = std::atoi(argv[3]);
    Display* pDisplay = XOpenDisplay(nullptr);
    int nEvent = 0, nError = 0, nMajor = 0, nMinor = 0;
    if (pDisplay == nullptr || !XTestQueryExtension(pDisplay, &nEvent, &nError, &nMajor, &nMinor)) {
        std::fprintf(stderr, "xkeymap: no X display with XTEST\n");
        return 1;
    }
    const KeySym nKeySym = XStringToKeysym(argc > 4 ? argv[4] : "0");
    const std::vector<KeyCode> vecChord{XKeysymToKeycode(pDisplay, XK_Control_L),
                                        XKeysymToKeycode(pDisplay, XK_Alt_L),
                                        XKeysymToKeycode(pDisplay, nKeySym)};
    const std::vector<KeyCode> vecEscape{XKeysymToKeycode(pDisplay, XK_Escape)};
    WatchAll(pDisplay);
    XSync(pDisplay, False);

    std::vector<double> vecMs;
    int nMissed = 0;
    for (int i = 0; i < nOpenings; ++i) {
        Window hShown = 0;
        XSync(pDisplay, False);
        while (XPending(pDisplay) > 0) { // what came before the chord is not its answer
            XEvent oEvent;
            XNextEvent(pDisplay, &oEvent);
        }
        const double nStart = NowMs();
        Tap(pDisplay, vecChord);
        const double nMapped = WaitForEvent(pDisplay, 2000, [&](const XEvent& oEvent) {
            if (oEvent.type != MapNotify) {
                return false;
            }
            XWindowAttributes oAttributes{};
            if (XGetWindowAttributes(pDisplay, oEvent.xmap.window, &oAttributes) == 0 ||
                oAttributes.width < nMinWidth || oAttributes.height < nMinHeight) {
                return false;
            }
            hShown = oEvent.xmap.window;
            return true;
        });
        if (nMapped < 0) {
            ++nMissed;
            continue;
        }
        vecMs.push_back(nMapped - nStart);
        Tap(pDisplay, vecEscape);
        WaitForEvent(pDisplay, 2000, [&](const XEvent& oEvent) {
            return oEvent.type == UnmapNotify && oEvent.xunmap.window == hShown;
        });
        // Let the program that closed its window finish the close before the next chord.
        WaitForEvent(pDisplay, 60, [](const XEvent&) { return false; });
    }
    XCloseDisplay(pDisplay);
    if (vecMs.empty()) {
        std::printf("%d openings, %d missed\n", nOpenings, nMissed);
        return 1;
    }
    std::printf("%zu openings, %d missed: median %.1f ms, 95th percentile %.1f ms\n", vecMs.size(),
                nMissed, Percentile(vecMs, 0.5), Percentile(vecMs, 0.95));
    return 0;
}
