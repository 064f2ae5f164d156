#include "WindowText.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::u16string GetWholeWindowText(HWND hWnd) {
    const int nLength = GetWindowTextLengthW(hWnd);
    if (nLength <= 0) {
        return {};
    }
    std::u16string strText(static_cast<size_t>(nLength) + 1, u'\0');
    const int nRead = GetWindowTextW(hWnd, reinterpret_cast<wchar_t*>(strText.data()), nLength + 1);
    strText.resize(static_cast<size_t>(nRead > 0 ? nRead : 0));
    return strText;
}
