#pragma once
// One icon in the notification area, identifier 0, reported to an owner window.

#include <windows.h>
#include <shellapi.h>

#include <string>

class CTrayIcon {
public:
    CTrayIcon() = default;
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;
    // Leaves the notification area alone: only Remove takes the icon away.
    virtual ~CTrayIcon() = default;

    // The window that gets the callback messages. With an icon set, the icon is removed from
    // the notification area first; if that fails the old owner stays and FALSE is returned.
    BOOL SetOwner(HWND hWndOwner);
    // Adds the icon (not owned: the caller loads and destroys it) with the tooltip and callback
    // message set so far, in one call to the shell. Refused without a call to the system when
    // an icon is already set.
    BOOL Add(HICON hIcon);
    // The tooltip, cut to the record's capacity (127 characters), and the callback message.
    // Before Add they are only kept, to go with the icon.
    BOOL SetTooltip(const wchar_t* pszText);
    BOOL SetCallbackMessage(UINT nMessage);
    // Shows another icon (not owned; null keeps the one shown) with another tooltip, in one call
    // to the shell. Before Add only the tooltip is kept: the icon is the one Add is given.
    BOOL Change(HICON hIcon, const wchar_t* pszTooltip);
    // Takes the icon out of the notification area; the stored icon stays set.
    BOOL Remove();
    // Adds the icon again with its tooltip and callback message, after the notification area
    // has been re-created (the shell restarted). Does nothing when no icon was ever added.
    BOOL Restore();

    HWND GetOwner() const { return m_hWndOwner; }
    HICON GetIcon() const { return m_hIcon; }

private:
    NOTIFYICONDATAW MakeRecord() const;
    // Keeps the tooltip cut to the record's capacity and copies it into the record.
    void KeepTooltip(const wchar_t* pszText, NOTIFYICONDATAW& nid);

    HWND m_hWndOwner = nullptr;
    HICON m_hIcon = nullptr;
    std::wstring m_strTooltip;
    UINT m_nCallbackMessage = 0;
};
