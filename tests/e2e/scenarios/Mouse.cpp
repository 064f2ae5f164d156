#include "Mouse.h"

#include <vector>

namespace e2e {

bool ClickAt(POINT ptScreen, int nClicks, bool bRightButton) {
    // The position travels with every event, so no event depends on when a move took effect.
    const int nWidth = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int nHeight = GetSystemMetrics(SM_CYSCREEN) - 1;
    std::vector<INPUT> vecInputs;
    auto add = [&](DWORD nFlags) {
        INPUT oInput{};
        oInput.type = INPUT_MOUSE;
        oInput.mi.dx = static_cast<LONG>((ptScreen.x * 65535LL + nWidth / 2) / nWidth);
        oInput.mi.dy = static_cast<LONG>((ptScreen.y * 65535LL + nHeight / 2) / nHeight);
        oInput.mi.dwFlags = nFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        vecInputs.push_back(oInput);
    };
    add(0);
    for (int i = 0; i < nClicks; ++i) {
        add(bRightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
        add(bRightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    }
    return SendInput(static_cast<UINT>(vecInputs.size()), vecInputs.data(), sizeof(INPUT)) ==
           vecInputs.size();
}

} // namespace e2e
