#include "InputInjector.h"

#include <memory>

namespace e2e {

namespace {

struct Injection {
    std::vector<INPUT> vecInputs;
    UINT nSent = 0;
};

DWORD WINAPI InjectionThread(void* pParameter) {
    auto* pInjection = static_cast<Injection*>(pParameter);
    // One event at a time: that is how a keyboard delivers them, and the hook sees the same.
    for (INPUT& input : pInjection->vecInputs) {
        pInjection->nSent += SendInput(1, &input, sizeof(INPUT));
    }
    return 0;
}

InjectionResult Run(std::unique_ptr<Injection> pInjection, DWORD nTimeoutMs) {
    InjectionResult result;
    const ULONGLONG nStart = GetTickCount64();
    HANDLE hThread = CreateThread(nullptr, 0, InjectionThread, pInjection.get(), 0, nullptr);
    if (hThread == nullptr) {
        return result;
    }
    result.bDone = WaitForSingleObject(hThread, nTimeoutMs) == WAIT_OBJECT_0;
    result.nDurationMs = GetTickCount64() - nStart;
    CloseHandle(hThread);
    if (!result.bDone) {
        // The thread still uses the events: they stay with it until the process ends.
        pInjection.release();
        return result;
    }
    result.bAllSent = pInjection->nSent == pInjection->vecInputs.size();
    return result;
}

INPUT KeyInput(WORD nKey, bool bUp) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = nKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(nKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A mouse event at a screen point: the position travels with the event, so that it does not
// depend on when an earlier cursor move has taken effect.
INPUT MouseInput(DWORD nFlags, POINT ptScreen) {
    const int nWidth = GetSystemMetrics(SM_CXSCREEN);
    const int nHeight = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((ptScreen.x * 65535LL + (nWidth - 1) / 2) / (nWidth - 1));
    input.mi.dy = static_cast<LONG>((ptScreen.y * 65535LL + (nHeight - 1) / 2) / (nHeight - 1));
    input.mi.dwFlags = nFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

} // namespace

InjectionResult PressChord(std::initializer_list<WORD> keys, DWORD nTimeoutMs) {
    auto pInjection = std::make_unique<Injection>();
    for (WORD nKey : keys) {
        pInjection->vecInputs.push_back(KeyInput(nKey, false));
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        pInjection->vecInputs.push_back(KeyInput(*it, true));
    }
    return Run(std::move(pInjection), nTimeoutMs);
}

InjectionResult PressKey(WORD nKey, DWORD nTimeoutMs) {
    return PressChord({nKey}, nTimeoutMs);
}

InjectionResult Click(POINT ptScreen, int nClicks, bool bRightButton, DWORD nTimeoutMs) {
    auto pInjection = std::make_unique<Injection>();
    pInjection->vecInputs.push_back(MouseInput(0, ptScreen));
    for (int i = 0; i < nClicks; ++i) {
        pInjection->vecInputs.push_back(
            MouseInput(bRightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, ptScreen));
        pInjection->vecInputs.push_back(
            MouseInput(bRightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, ptScreen));
    }
    return Run(std::move(pInjection), nTimeoutMs);
}

} // namespace e2e
