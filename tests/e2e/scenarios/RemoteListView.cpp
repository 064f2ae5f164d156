#include "RemoteListView.h"

#include <commctrl.h>

namespace e2e {

namespace {

// Layout of the block in the other process: a structure at 0, text from kTextOffset on.
constexpr size_t kBlockSize = 64 * 1024;
constexpr size_t kTextOffset = 4096;
constexpr int kTextCapacity = static_cast<int>((kBlockSize - kTextOffset) / sizeof(wchar_t));
constexpr DWORD kSendTimeoutMs = 5000;

} // namespace

CRemoteListView::CRemoteListView(HWND hList) : m_hList(hList) {
    DWORD nProcessId = 0;
    if (hList == nullptr || GetWindowThreadProcessId(hList, &nProcessId) == 0) {
        return;
    }
    m_hProcess =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, nProcessId);
    if (m_hProcess == nullptr) {
        return;
    }
    m_pRemote = static_cast<char*>(
        VirtualAllocEx(m_hProcess, nullptr, kBlockSize, MEM_COMMIT, PAGE_READWRITE));
}

CRemoteListView::~CRemoteListView() {
    if (m_pRemote != nullptr) {
        VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
    }
    if (m_hProcess != nullptr) {
        CloseHandle(m_hProcess);
    }
}

LRESULT CRemoteListView::Send(UINT nMessage, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR nResult = 0;
    if (!SendMessageTimeoutW(m_hList, nMessage, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs,
                             &nResult)) {
        return -1;
    }
    return static_cast<LRESULT>(nResult);
}

bool CRemoteListView::Write(size_t nOffset, const void* pData, size_t nBytes) const {
    SIZE_T nDone = 0;
    return m_pRemote != nullptr &&
           WriteProcessMemory(m_hProcess, m_pRemote + nOffset, pData, nBytes, &nDone) &&
           nDone == nBytes;
}

bool CRemoteListView::Read(size_t nOffset, void* pData, size_t nBytes) const {
    SIZE_T nDone = 0;
    return m_pRemote != nullptr &&
           ReadProcessMemory(m_hProcess, m_pRemote + nOffset, pData, nBytes, &nDone) &&
           nDone == nBytes;
}

LPARAM CRemoteListView::RemoteAt(size_t nOffset) const {
    return reinterpret_cast<LPARAM>(m_pRemote + nOffset);
}

int CRemoteListView::RowCount() const {
    return m_pRemote ? static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)) : -1;
}

std::wstring CRemoteListView::Text(int nRow, int nColumn) const {
    LVITEMW item{};
    item.iSubItem = nColumn;
    item.pszText = reinterpret_cast<LPWSTR>(RemoteAt(kTextOffset));
    item.cchTextMax = kTextCapacity;
    const wchar_t cNothing = 0;
    if (!Write(0, &item, sizeof item) || !Write(kTextOffset, &cNothing, sizeof cNothing)) {
        return L"";
    }
    const LRESULT nLength = Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(nRow), RemoteAt(0));
    if (nLength <= 0) {
        return L"";
    }
    std::wstring strText(static_cast<size_t>(nLength), L'\0');
    if (!Read(kTextOffset, strText.data(), strText.size() * sizeof(wchar_t))) {
        return L"";
    }
    return strText;
}

std::vector<std::wstring> CRemoteListView::Column(int nColumn) const {
    std::vector<std::wstring> vecTexts;
    const int nRows = RowCount();
    for (int i = 0; i < nRows; ++i) {
        vecTexts.push_back(Text(i, nColumn));
    }
    return vecTexts;
}

std::wstring CRemoteListView::Header(int nColumn) const {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = reinterpret_cast<LPWSTR>(RemoteAt(kTextOffset));
    column.cchTextMax = kTextCapacity;
    const wchar_t cNothing = 0;
    if (!Write(0, &column, sizeof column) || !Write(kTextOffset, &cNothing, sizeof cNothing) ||
        Send(LVM_GETCOLUMNW, static_cast<WPARAM>(nColumn), RemoteAt(0)) <= 0) {
        return L"?";
    }
    wchar_t aText[256] = {};
    Read(kTextOffset, aText, sizeof aText - sizeof(wchar_t));
    return aText;
}

int CRemoteListView::Image(int nRow, int nColumn) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = nRow;
    item.iSubItem = nColumn;
    item.iImage = -3;
    if (!Write(0, &item, sizeof item) || Send(LVM_GETITEMW, 0, RemoteAt(0)) <= 0 ||
        !Read(0, &item, sizeof item)) {
        return -2;
    }
    return item.iImage;
}

bool CRemoteListView::IsSelected(int nRow) const {
    return m_pRemote != nullptr &&
           (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(nRow), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool CRemoteListView::CellScreenRect(int nRow, int nColumn, RECT& rRect) const {
    RECT rect{};
    rect.top = nColumn;
    rect.left = LVIR_BOUNDS;
    if (!Write(0, &rect, sizeof rect) ||
        Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(nRow), RemoteAt(0)) <= 0 ||
        !Read(0, &rect, sizeof rect)) {
        return false;
    }
    MapWindowPoints(m_hList, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    rRect = rect;
    return true;
}

} // namespace e2e
