#include "RemoteMemory.h"

namespace e2e {

CRemoteMemory::CRemoteMemory(HWND hWnd, size_t nBytes) {
    DWORD nProcessId = 0;
    if (hWnd == nullptr || GetWindowThreadProcessId(hWnd, &nProcessId) == 0) {
        return;
    }
    m_hProcess =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, nProcessId);
    if (m_hProcess != nullptr) {
        m_pRemote = static_cast<char*>(
            VirtualAllocEx(m_hProcess, nullptr, nBytes, MEM_COMMIT, PAGE_READWRITE));
    }
}

CRemoteMemory::~CRemoteMemory() {
    if (m_pRemote != nullptr) {
        VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
    }
    if (m_hProcess != nullptr) {
        CloseHandle(m_hProcess);
    }
}

bool CRemoteMemory::Write(size_t nOffset, const void* pData, size_t nBytes) const {
    SIZE_T nDone = 0;
    return m_pRemote != nullptr &&
           WriteProcessMemory(m_hProcess, m_pRemote + nOffset, pData, nBytes, &nDone) &&
           nDone == nBytes;
}

bool CRemoteMemory::Read(size_t nOffset, void* pData, size_t nBytes) const {
    SIZE_T nDone = 0;
    return m_pRemote != nullptr &&
           ReadProcessMemory(m_hProcess, m_pRemote + nOffset, pData, nBytes, &nDone) &&
           nDone == nBytes;
}

LRESULT SendWithin(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR nResult = 0;
    return SendMessageTimeoutW(hWnd, nMsg, wParam, lParam, SMTO_NORMAL, 5000, &nResult)
               ? static_cast<LRESULT>(nResult)
               : -1;
}

} // namespace e2e
