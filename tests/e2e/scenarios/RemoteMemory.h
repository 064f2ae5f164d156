#pragma once
// Memory in another process, for the messages of its controls that carry pointers (list-view
// items, tooltip tools): the pointers must be valid where the control lives.

#include <windows.h>

namespace e2e {

class CRemoteMemory {
public:
    // nBytes in the process that owns hWnd.
    CRemoteMemory(HWND hWnd, size_t nBytes);
    ~CRemoteMemory();
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;

    bool Write(size_t nOffset, const void* pData, size_t nBytes) const;
    bool Read(size_t nOffset, void* pData, size_t nBytes) const;
    // The address in the other process, as a message parameter.
    LPARAM At(size_t nOffset) const { return reinterpret_cast<LPARAM>(m_pRemote + nOffset); }

private:
    HANDLE m_hProcess = nullptr;
    char* m_pRemote = nullptr;
};

// SendMessageTimeoutW with a bound of 5 s: the answer, or -1 when the window did not answer.
LRESULT SendWithin(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

} // namespace e2e
