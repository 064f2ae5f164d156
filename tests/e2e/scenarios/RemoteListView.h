#pragma once
// A list-view control of another process, read through memory allocated in that process.

#include "RemoteMemory.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class CRemoteListView {
public:
    explicit CRemoteListView(HWND hList) : m_hList(hList), m_oMemory(hList, kBlockSize) {}

    // -1 when the control does not answer.
    int RowCount() const;
    std::wstring Text(int nRow, int nColumn) const;
    // The texts of one column, row 0 first.
    std::vector<std::wstring> Column(int nColumn) const;
    // The image index of a cell, -2 when the control does not answer.
    int Image(int nRow, int nColumn) const;
    // The middle of a cell's left part (where a user clicks it), in screen coordinates.
    bool CellPoint(int nRow, int nColumn, POINT& rPoint) const;

private:
    // A structure at 0, text from kTextOffset on.
    static constexpr size_t kBlockSize = 64 * 1024;
    static constexpr size_t kTextOffset = 4096;

    HWND m_hList;
    CRemoteMemory m_oMemory;
};

} // namespace e2e
