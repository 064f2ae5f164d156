#pragma once
// The notification area of Wine's desktop (the taskbar of its explorer), seen from outside:
// each icon has a tooltip tool in the taskbar's tooltip window whose text is the icon's tooltip
// and whose rectangle is where the icon is drawn.

#include "InputInjector.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct TrayIconView {
    std::wstring strTip;
    RECT rcScreen{};
    bool bShown = false; // drawn: the taskbar is visible and the icon has a place on it
};

// Every icon that the taskbar currently offers (may be empty when there is no taskbar).
std::vector<TrayIconView> ListTrayIcons();
// The icon whose tooltip is strTip, if the taskbar shows one.
std::optional<TrayIconView> FindTrayIcon(const std::wstring& strTip);
// A click on the icon. Consecutive clicks land a few pixels apart: two quick presses stay two
// presses and never become a double-click.
InjectionResult ClickTrayIcon(const TrayIconView& icon, bool bRightButton = false);

} // namespace e2e
