#pragma once
// UTF-8 <-> UTF-16 for comparing what other programs print with what the clipboard holds.

#include <windows.h>

#include <string>

inline std::string ToUtf8(const std::u16string& strText) {
    if (strText.empty()) {
        return {};
    }
    const auto* pWide = reinterpret_cast<const wchar_t*>(strText.data());
    const int nWide = static_cast<int>(strText.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, pWide, nWide, nullptr, 0, nullptr, nullptr);
    std::string strUtf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, pWide, nWide, strUtf8.data(), n, nullptr, nullptr);
    return strUtf8;
}

// Bytes from the hex digits cliptool read-hex prints (the line end is ignored).
inline std::string BytesFromHex(const std::string& strHex) {
    std::string strBytes;
    for (size_t i = 0; i + 1 < strHex.size(); i += 2) {
        if (strHex[i] == '\n' || strHex[i] == '\r') {
            break;
        }
        strBytes.push_back(static_cast<char>(std::stoi(strHex.substr(i, 2), nullptr, 16)));
    }
    return strBytes;
}
