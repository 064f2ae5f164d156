#include "TrayIcon.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

NOTIFYICONDATAW CTrayIcon::MakeRecord() const {
    NOTIFYICONDATAW nid{};
    // The size of the record as this build lays it out, so the shell reads nothing beyond it.
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_hWndOwner;
    nid.uID = 0;
    return nid;
}

BOOL CTrayIcon::SetOwner(HWND hWndOwner) {
    if (m_hIcon != nullptr && !Remove()) {
        return FALSE;
    }
    m_hWndOwner = hWndOwner;
    return TRUE;
}

BOOL CTrayIcon::Add(HICON hIcon) {
    if (m_hIcon != nullptr) {
        return FALSE;
    }
    m_hIcon = hIcon;
    return Restore();
}

void CTrayIcon::KeepTooltip(const wchar_t* pszText, NOTIFYICONDATAW& nid) {
    const size_t nCapacity = sizeof(nid.szTip) / sizeof(nid.szTip[0]) - 1;
    const size_t nLength = std::min(std::wcslen(pszText), nCapacity);
    m_strTooltip.assign(pszText, nLength);
    std::wmemcpy(nid.szTip, m_strTooltip.c_str(), nLength + 1);
}

BOOL CTrayIcon::SetTooltip(const wchar_t* pszText) {
    NOTIFYICONDATAW nid = MakeRecord();
    KeepTooltip(pszText, nid);
    if (m_hIcon == nullptr) {
        return TRUE; // goes with the icon when it is added
    }
    nid.uFlags = NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &nid);
}

BOOL CTrayIcon::Change(HICON hIcon, const wchar_t* pszTooltip) {
    NOTIFYICONDATAW nid = MakeRecord();
    KeepTooltip(pszTooltip, nid);
    if (m_hIcon == nullptr) {
        return TRUE;
    }
    if (hIcon != nullptr) {
        m_hIcon = hIcon;
    }
    nid.uFlags = NIF_ICON | NIF_TIP;
    nid.hIcon = m_hIcon;
    return Shell_NotifyIconW(NIM_MODIFY, &nid);
}

BOOL CTrayIcon::SetCallbackMessage(UINT nMessage) {
    m_nCallbackMessage = nMessage;
    if (m_hIcon == nullptr) {
        return TRUE; // goes with the icon when it is added
    }
    NOTIFYICONDATAW nid = MakeRecord();
    nid.uFlags = NIF_MESSAGE;
    nid.uCallbackMessage = nMessage;
    return Shell_NotifyIconW(NIM_MODIFY, &nid);
}

BOOL CTrayIcon::Remove() {
    NOTIFYICONDATAW nid = MakeRecord();
    return Shell_NotifyIconW(NIM_DELETE, &nid);
}

BOOL CTrayIcon::Restore() {
    if (m_hIcon == nullptr) {
        return FALSE;
    }
    NOTIFYICONDATAW nid = MakeRecord();
    // Everything in one call: each call to the shell waits for the notification area.
    nid.uFlags = NIF_ICON | NIF_TIP | (m_nCallbackMessage != 0 ? NIF_MESSAGE : 0);
    nid.hIcon = m_hIcon;
    nid.uCallbackMessage = m_nCallbackMessage;
    std::wmemcpy(nid.szTip, m_strTooltip.c_str(), m_strTooltip.size() + 1);
    return Shell_NotifyIconW(NIM_ADD, &nid);
}
