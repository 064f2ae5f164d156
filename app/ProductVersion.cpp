#include "ProductVersion.h"

#include <windows.h>

#include <cstdio>
#include <vector>

bool ReadProductVersionText(const wchar_t* pszPath, std::wstring& strText) {
    DWORD dwHandle = 0;
    const DWORD nSize = GetFileVersionInfoSizeW(pszPath, &dwHandle);
    if (nSize == 0) {
        return false;
    }
    std::vector<BYTE> buffer(nSize);
    if (!GetFileVersionInfoW(pszPath, 0, nSize, buffer.data())) {
        return false;
    }
    VS_FIXEDFILEINFO* pInfo = nullptr;
    UINT nInfoSize = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&pInfo), &nInfoSize) ||
        pInfo == nullptr || nInfoSize < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    wchar_t szText[64];
    std::swprintf(szText, sizeof(szText) / sizeof(szText[0]), L"%d.%d.%d.%d",
                  static_cast<int>(HIWORD(pInfo->dwProductVersionMS)),
                  static_cast<int>(LOWORD(pInfo->dwProductVersionMS)),
                  static_cast<int>(HIWORD(pInfo->dwProductVersionLS)),
                  static_cast<int>(LOWORD(pInfo->dwProductVersionLS)));
    strText = szText;
    return true;
}
