#pragma once
// The menu of Korvex's tray icon, used as a user does: a right click on the icon opens it, a key
// chooses an item, Esc closes it. What the menu shows is compared as pixels: another process
// cannot read the items of Korvex's menu under Wine.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace e2e {

class CTrayMenu {
public:
    explicit CTrayMenu(DWORD nKorvexProcess) : m_nKorvexProcess(nKorvexProcess) {}

    // Right-clicks the icon with the tooltip "Korvex" and waits for the menu.
    bool Open();
    // The strip along the menu's left edge, where check marks are drawn, once it is drawn
    // completely (two captures in a row are the same). Empty when it cannot be captured.
    std::vector<uint32_t> CheckMarkStrip() const;
    // Presses the item's access key and waits until the menu has gone.
    bool Choose(WORD nKey);
    // Presses Esc and waits until the menu has gone.
    bool Close();
    bool IsShown();

private:
    bool PressAndWaitGone(WORD nKey);

    DWORD m_nKorvexProcess;
    HWND m_hMenu = nullptr;
};

} // namespace e2e
