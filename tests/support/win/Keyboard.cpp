#include "tests/support/win/Keyboard.h"

#include "tests/support/win/MessagePump.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace wintest {

std::vector<KeyStroke> Chord(std::initializer_list<WORD> keys) {
    std::vector<KeyStroke> vecStrokes;
    for (const WORD nKey : keys) {
        vecStrokes.push_back(KeyDown(nKey));
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        vecStrokes.push_back(KeyUp(*it));
    }
    return vecStrokes;
}

namespace {

// SendInput from a worker thread while this thread pumps (see InjectKeys).
UINT SendInputsPumping(std::vector<INPUT> vecInputs, DWORD nTimeoutMs) {
    struct INJECTION {
        std::vector<INPUT> vecInputs;
        std::atomic<bool> bDone{false};
        std::atomic<UINT> nSent{0};
    };
    // Shared with the worker, which outlives this call when SendInput hangs.
    auto pInjection = std::make_shared<INJECTION>();
    pInjection->vecInputs = std::move(vecInputs);
    std::thread oWorker([pInjection] {
        pInjection->nSent = SendInput(static_cast<UINT>(pInjection->vecInputs.size()),
                                      pInjection->vecInputs.data(), sizeof(INPUT));
        pInjection->bDone = true;
    });
    if (!PumpUntil([&] { return pInjection->bDone.load(); }, nTimeoutMs)) {
        oWorker.detach();
        return 0;
    }
    oWorker.join();
    return pInjection->nSent;
}

} // namespace

UINT InjectKeys(const std::vector<KeyStroke>& vecStrokes, DWORD nTimeoutMs) {
    std::vector<INPUT> vecInputs;
    for (const KeyStroke& oStroke : vecStrokes) {
        INPUT oInput = {};
        oInput.type = INPUT_KEYBOARD;
        oInput.ki.wVk = oStroke.nKey;
        oInput.ki.wScan = static_cast<WORD>(MapVirtualKeyW(oStroke.nKey, MAPVK_VK_TO_VSC));
        oInput.ki.dwFlags = oStroke.bUp ? KEYEVENTF_KEYUP : 0;
        vecInputs.push_back(oInput);
    }
    return SendInputsPumping(std::move(vecInputs), nTimeoutMs);
}

UINT InjectText(const std::wstring& strText, DWORD nTimeoutMs) {
    std::vector<INPUT> vecInputs;
    for (const wchar_t ch : strText) {
        for (const DWORD nUp : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT oInput = {};
            oInput.type = INPUT_KEYBOARD;
            oInput.ki.wScan = ch;
            oInput.ki.dwFlags = KEYEVENTF_UNICODE | nUp;
            vecInputs.push_back(oInput);
        }
    }
    return SendInputsPumping(std::move(vecInputs), nTimeoutMs);
}

namespace {

constexpr WORD kSettleKey = VK_F24;

// Holds the settle key while fnChange runs, then waits at most nSettleMs for its release.
bool HoldAcrossFocusChange(const std::function<bool()>& fnChange, DWORD nSettleMs) {
    InjectKeys({KeyDown(kSettleKey)});
    const bool bChanged = fnChange();
    PumpUntil([] { return (GetAsyncKeyState(kSettleKey) & 0x8000) == 0; }, nSettleMs);
    InjectKeys({KeyUp(kSettleKey)});
    return bChanged;
}

} // namespace

bool SetForegroundSettled(HWND hWnd) {
    const bool bInFront = GetForegroundWindow() == hWnd;
    return HoldAcrossFocusChange(
        [&] {
            return PumpUntil([&] {
                SetForegroundWindow(hWnd);
                return GetForegroundWindow() == hWnd;
            });
        },
        bInFront ? kFocusSettleMs : 1000);
}

void SettleFocusChange(DWORD nSettleMs) {
    HoldAcrossFocusChange([] { return true; }, nSettleMs);
}

CHeldKeys::CHeldKeys(std::initializer_list<BYTE> keys) {
    GetKeyboardState(m_aSaved);
    BYTE aState[256];
    std::copy(std::begin(m_aSaved), std::end(m_aSaved), aState);
    for (const BYTE nKey : {VK_CONTROL, VK_MENU, VK_SHIFT}) {
        aState[nKey] = 0;
    }
    for (const BYTE nKey : keys) {
        aState[nKey] = 0x80;
    }
    SetKeyboardState(aState);
}

CHeldKeys::~CHeldKeys() {
    SetKeyboardState(m_aSaved);
}

} // namespace wintest
