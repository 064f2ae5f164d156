#include "settings/ModulePath.h"

#include <algorithm>

std::wstring GetModulePath(HMODULE hModule) {
    // The longest path the system can hand out, terminator included.
    constexpr DWORD kLongestPath = 32768;
    std::wstring strPath;
    for (DWORD nSize = MAX_PATH;; nSize = std::min(nSize * 2, kLongestPath)) {
        strPath.resize(nSize);
        const DWORD nLength = GetModuleFileNameW(hModule, strPath.data(), nSize);
        if (nLength == 0) {
            return {};
        }
        // A path that fills the buffer may have been cut off: try again with a larger one.
        if (nLength < nSize) {
            strPath.resize(nLength);
            return strPath;
        }
        if (nSize == kLongestPath) {
            return {};
        }
    }
}
