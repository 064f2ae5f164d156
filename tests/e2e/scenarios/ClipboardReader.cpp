#include "ClipboardReader.h"

#include "Wait.h"

#include <windows.h>

namespace e2e {

std::optional<std::wstring> ReadClipboardText(unsigned nTimeoutMs) {
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, nTimeoutMs, 10)) {
        return std::nullopt;
    }
    std::optional<std::wstring> text;
    if (HANDLE hData = GetClipboardData(CF_UNICODETEXT)) {
        const auto* pText = static_cast<const wchar_t*>(GlobalLock(hData));
        if (pText != nullptr) {
            text = std::wstring(pText, wcsnlen(pText, GlobalSize(hData) / sizeof(wchar_t)));
            GlobalUnlock(hData);
        }
    }
    CloseClipboard();
    return text;
}

unsigned long ClipboardSequence() {
    return GetClipboardSequenceNumber();
}

} // namespace e2e
