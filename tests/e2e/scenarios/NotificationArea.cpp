#include "NotificationArea.h"

#include "Wait.h"

#include <commctrl.h>

#include <cstdlib>

namespace e2e {

namespace {

constexpr size_t kBlockSize = 8192;
constexpr size_t kTextOffset = 1024;

HWND FindTooltipWindowOf(DWORD nProcessId) {
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, TOOLTIPS_CLASSW, nullptr)) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == nProcessId) {
            return hWnd;
        }
    }
    return nullptr;
}

} // namespace

std::vector<TrayIconView> ListTrayIcons() {
    std::vector<TrayIconView> vecIcons;
    const HWND hTray = FindWindowW(L"Shell_TrayWnd", nullptr);
    DWORD nProcessId = 0;
    if (hTray == nullptr || GetWindowThreadProcessId(hTray, &nProcessId) == 0) {
        return vecIcons;
    }
    const HWND hTips = FindTooltipWindowOf(nProcessId);
    if (hTips == nullptr) {
        return vecIcons;
    }
    HANDLE hProcess =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, nProcessId);
    if (hProcess == nullptr) {
        return vecIcons;
    }
    auto* pRemote = static_cast<char*>(
        VirtualAllocEx(hProcess, nullptr, kBlockSize, MEM_COMMIT, PAGE_READWRITE));
    DWORD_PTR nCount = 0;
    if (pRemote != nullptr &&
        SendMessageTimeoutW(hTips, TTM_GETTOOLCOUNT, 0, 0, SMTO_NORMAL, 5000, &nCount)) {
        for (DWORD_PTR i = 0; i < nCount; ++i) {
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.lpszText = reinterpret_cast<LPWSTR>(pRemote + kTextOffset);
            const wchar_t aNothing[1] = {0};
            DWORD_PTR nFound = 0;
            if (!WriteProcessMemory(hProcess, pRemote, &info, sizeof info, nullptr) ||
                !WriteProcessMemory(hProcess, pRemote + kTextOffset, aNothing, sizeof aNothing,
                                    nullptr) ||
                !SendMessageTimeoutW(hTips, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(pRemote),
                                     SMTO_NORMAL, 5000, &nFound) ||
                nFound == 0 || !ReadProcessMemory(hProcess, pRemote, &info, sizeof info, nullptr)) {
                continue;
            }
            wchar_t aTip[130] = {};
            ReadProcessMemory(hProcess, pRemote + kTextOffset, aTip, sizeof aTip - sizeof(wchar_t),
                              nullptr);
            TrayIconView icon;
            icon.strTip = aTip;
            icon.rcScreen = info.rect;
            MapWindowPoints(info.hwnd, nullptr, reinterpret_cast<POINT*>(&icon.rcScreen), 2);
            // A removed icon's tool stays behind with an empty rectangle.
            icon.bShown = IsWindowVisible(hTray) != FALSE && !IsRectEmpty(&info.rect);
            vecIcons.push_back(icon);
        }
    }
    if (pRemote != nullptr) {
        VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    }
    CloseHandle(hProcess);
    return vecIcons;
}

std::optional<TrayIconView> FindTrayIcon(const std::wstring& strTip) {
    for (const TrayIconView& icon : ListTrayIcons()) {
        if (icon.strTip == strTip && icon.bShown) {
            return icon;
        }
    }
    return std::nullopt;
}

InjectionResult ClickTrayIcon(const TrayIconView& icon, bool bRightButton) {
    // Of two spots ten pixels apart, the one away from the cursor: the cursor rests where the
    // last click was, possibly made by another test program a moment ago.
    const LONG nWidth = icon.rcScreen.right - icon.rcScreen.left;
    const LONG nY = (icon.rcScreen.top + icon.rcScreen.bottom) / 2;
    const POINT ptLeft{icon.rcScreen.left + nWidth / 4, nY};
    const POINT ptRight{icon.rcScreen.right - nWidth / 4, nY};
    POINT ptCursor{};
    GetCursorPos(&ptCursor);
    const POINT pt =
        std::abs(ptCursor.x - ptLeft.x) > std::abs(ptCursor.x - ptRight.x) ? ptLeft : ptRight;
    // The icon's tooltip pops up while the cursor rests on it and would take the click: move
    // the cursor off the taskbar until the spot is bare again.
    const HWND hTray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (WindowFromPoint(pt) != hTray) {
        SetCursorPos(pt.x, icon.rcScreen.top - 100);
        WaitUntil([&] { return WindowFromPoint(pt) == hTray; }, 3000);
    }
    return Click(pt, 1, bRightButton);
}

} // namespace e2e
