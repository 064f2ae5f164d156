#include "KeyInjector.h"

#include "MessagePump.h"

#include <atomic>
#include <memory>
#include <thread>

namespace {

struct INJECTION {
    std::vector<INPUT> vecInputs;
    std::atomic<bool> bDone{false};
    std::atomic<UINT> nSent{0};
};

} // namespace

UINT InjectKeys(const std::vector<KEY_STROKE>& vecStrokes, DWORD nTimeoutMs) {
    // Shared with the worker, which may outlive this call when SendInput hangs.
    auto pInjection = std::make_shared<INJECTION>();
    for (const KEY_STROKE& oStroke : vecStrokes) {
        INPUT oInput = {};
        oInput.type = INPUT_KEYBOARD;
        oInput.ki.wVk = oStroke.nKey;
        oInput.ki.wScan = static_cast<WORD>(MapVirtualKeyW(oStroke.nKey, MAPVK_VK_TO_VSC));
        oInput.ki.dwFlags = oStroke.bUp ? KEYEVENTF_KEYUP : 0;
        pInjection->vecInputs.push_back(oInput);
    }
    std::thread oWorker([pInjection] {
        pInjection->nSent = SendInput(static_cast<UINT>(pInjection->vecInputs.size()),
                                      pInjection->vecInputs.data(), sizeof(INPUT));
        pInjection->bDone = true;
    });
    if (!PumpMessagesUntil([&] { return pInjection->bDone.load(); }, nTimeoutMs)) {
        oWorker.detach();
        return 0;
    }
    oWorker.join();
    return pInjection->nSent;
}
