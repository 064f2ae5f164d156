#include "PasteIntoTarget.h"

#include "settings/ApplicationRegistry.h"

namespace {

constexpr BYTE VK_V = 0x56;

} // namespace

BYTE ChoosePasteKey(SHORT nVkKeyScan) {
    const auto nKey = static_cast<BYTE>(nVkKeyScan & 0xFF);
    if (nVkKeyScan == -1 || nKey == 0 || nKey == 0xFF) {
        return VK_V;
    }
    return nKey;
}

std::vector<PASTE_KEY_EVENT> MakePasteKeyEvents(bool bControlHeld, BYTE nPasteKey) {
    std::vector<PASTE_KEY_EVENT> arrEvents;
    if (!bControlHeld) {
        arrEvents.push_back({VK_CONTROL, false});
    }
    arrEvents.push_back({nPasteKey, false});
    arrEvents.push_back({nPasteKey, true});
    if (!bControlHeld) {
        arrEvents.push_back({VK_CONTROL, true});
    }
    return arrEvents;
}

void PasteIntoTarget(HWND hWndToClose) {
    if (hWndToClose != nullptr) {
        DestroyWindow(hWndToClose);
    }
    {
        CApplicationRegistry oSettings;
        if (oSettings.GetDoPaste() == 0) {
            return;
        }
    }
    const bool bControlHeld = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    for (const PASTE_KEY_EVENT& event :
         MakePasteKeyEvents(bControlHeld, ChoosePasteKey(VkKeyScanW(L'v')))) {
        keybd_event(event.nVirtualKey, 0, event.bKeyUp ? KEYEVENTF_KEYUP : 0, 0);
    }
}
