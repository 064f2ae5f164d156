#include "clipboard/WindowProgram.h"

namespace {

// Paths longer than this are not asked for (the system's own limit is 32,767 characters).
constexpr DWORD kMaxPathLength = 32768;

} // namespace

std::wstring GetWindowProgramPath(HWND hWnd) {
    DWORD nProcessId = 0;
    if (hWnd == nullptr || GetWindowThreadProcessId(hWnd, &nProcessId) == 0 || nProcessId == 0) {
        return {};
    }
    // The limited right is granted for processes of every integrity level of the user.
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, nProcessId);
    if (hProcess == nullptr) {
        return {};
    }
    std::wstring strPath;
    for (DWORD nCapacity = MAX_PATH; nCapacity <= kMaxPathLength; nCapacity *= 2) {
        strPath.assign(nCapacity, L'\0');
        DWORD nLength = nCapacity;
        if (QueryFullProcessImageNameW(hProcess, 0, strPath.data(), &nLength)) {
            strPath.resize(nLength);
            break;
        }
        strPath.clear();
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            break;
        }
    }
    CloseHandle(hProcess);
    return strPath;
}
