#pragma once
// A list-view control of another process, read and driven through memory allocated in that
// process (the control's messages carry pointers that must be valid where the control lives).

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class CRemoteListView {
public:
    explicit CRemoteListView(HWND hList);
    ~CRemoteListView();
    CRemoteListView(const CRemoteListView&) = delete;
    CRemoteListView& operator=(const CRemoteListView&) = delete;

    bool IsValid() const { return m_pRemote != nullptr; }
    // -1 when the control does not answer.
    int RowCount() const;
    std::wstring Text(int nRow, int nColumn) const;
    // The texts of one column, row 0 first.
    std::vector<std::wstring> Column(int nColumn) const;
    std::wstring Header(int nColumn) const;
    // The image index of a cell (LVIF_IMAGE), -2 when the control does not answer.
    int Image(int nRow, int nColumn) const;
    // Whether the row is selected.
    bool IsSelected(int nRow) const;
    // Screen rectangle of a cell.
    bool CellScreenRect(int nRow, int nColumn, RECT& rRect) const;

private:
    LRESULT Send(UINT nMessage, WPARAM wParam, LPARAM lParam) const;
    bool Write(size_t nOffset, const void* pData, size_t nBytes) const;
    bool Read(size_t nOffset, void* pData, size_t nBytes) const;
    LPARAM RemoteAt(size_t nOffset) const;

    HWND m_hList;
    HANDLE m_hProcess = nullptr;
    char* m_pRemote = nullptr;
};

} // namespace e2e
