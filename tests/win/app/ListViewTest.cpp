// The main window's history list: what its rows show, how it follows the document, and the
// gestures that reach the document (Enter, double-click, a click on the "No" column).

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

#include "framework/FrameWnd.h"
#include "framework/MessageLoop.h"
#include "history/KorvexDoc.h"
#include "views/KorvexListView.h"

namespace {

// A clipboard that records what the document writes.
class CRecordingClipboard : public IClipboardPort {
public:
    uint32_t GetSequenceNumber() override { return m_nSequence; }
    ClipboardRead ReadText(uint64_t) override { return {}; }
    ClipboardWriteStatus WriteText(const std::u16string& strText) override {
        m_strWritten = strText;
        ++m_nSequence;
        return ClipboardWriteStatus::Written;
    }
    std::u16string m_strWritten;
    uint32_t m_nSequence = 1;
};

class CFixedSettings : public IHistorySettings {
public:
    int32_t GetBufferSize() override { return 200; }
    uint32_t GetMaxClipboardCopySize() override { return 5; }
};

std::wstring Wide(const std::u16string& str) {
    return std::wstring(str.begin(), str.end());
}

class ListViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_frame.LoadFrame(0, L"list view test"));
        ASSERT_TRUE(m_view.Create(m_frame.m_hWnd));
        m_frame.SetActiveView(&m_view);
        SetWindowPos(m_frame.m_hWnd, nullptr, 0, 0, 700, 400, SWP_NOZORDER | SWP_NOACTIVATE);
        m_view.OnInitialUpdate();
    }
    void TearDown() override {
        m_frame.SetActiveView(nullptr);
        m_frame.DestroyWindow();
    }

    CListCtrl List() const { return m_view.GetListCtrl(); }
    std::wstring Cell(int nRow, int nColumn) const { return List().GetItemText(nRow, nColumn); }
    void Select(int nRow) {
        List().SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        List().SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        List().SetSelectionMark(nRow);
    }
    // The list tells its parent what happened to it, as a mouse gesture would.
    void Notify(UINT nCode) {
        NMITEMACTIVATE nm{};
        nm.hdr.hwndFrom = m_view.m_hWnd;
        nm.hdr.idFrom = CKorvexListView::VIEW_ID;
        nm.hdr.code = nCode;
        SendMessageW(m_frame.m_hWnd, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    }
    // Puts the mouse cursor on a cell, as a click there would.
    void PointAt(int nRow, int nColumn) {
        RECT rc{};
        rc.top = nColumn;
        rc.left = LVIR_BOUNDS;
        SendMessageW(m_view.m_hWnd, LVM_GETSUBITEMRECT, nRow, reinterpret_cast<LPARAM>(&rc));
        POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(m_view.m_hWnd, &pt);
        SetCursorPos(pt.x, pt.y);
    }
    void PressKey(WPARAM nKey) {
        MSG msg{};
        msg.hwnd = m_view.m_hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = nKey;
        msg.lParam = 1;
        PumpMessage(msg);
    }

    CRecordingClipboard m_clipboard;
    CFixedSettings m_settings;
    CKorvexDoc m_doc{m_clipboard, m_settings};
    CFrameWnd m_frame;
    CKorvexListView m_view{m_doc};
};

} // namespace

TEST_F(ListViewTest, ColumnsAndRowsShowNumberEscapedTextAndCreationTime) {
    wchar_t szHeader[64];
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.pszText = szHeader;
    col.cchTextMax = 64;
    const wchar_t* arrHeaders[] = {L"", L"No", L"Text", L"Created Time"};
    const int arrWidths[] = {0, 45, 300, 115};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(SendMessageW(m_view.m_hWnd, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&col)));
        EXPECT_STREQ(szHeader, arrHeaders[i]);
        EXPECT_EQ(col.cx, arrWidths[i]);
    }
    EXPECT_EQ(List().GetExtendedStyle(), 0x4423u);

    m_doc.AddItem(std::u16string(300, u'x'));
    m_doc.AddItem(std::u16string(200, u'\t'));
    m_doc.AddItem(u"a\tb\r\n");
    ASSERT_EQ(List().GetItemCount(), 3);

    EXPECT_EQ(Cell(0, 0), L"");
    EXPECT_EQ(Cell(0, 1), L"1");
    EXPECT_EQ(Cell(2, 1), L"3");
    EXPECT_EQ(Cell(0, 2), L"a<TAB>b<CR><LF>");
    // Cut to 200 characters before escaping: 200 tabs show as 1000 characters.
    std::wstring strTabs;
    for (int i = 0; i < 200; ++i) {
        strTabs += L"<TAB>";
    }
    EXPECT_EQ(Cell(1, 2), strTabs);
    EXPECT_EQ(Cell(2, 2), std::wstring(200, L'x'));
    const std::wregex reTime(L"\\d{4}\\.\\d{2}\\.\\d{2} \\d{2}:\\d{2}:\\d{2}");
    EXPECT_TRUE(std::regex_match(Cell(0, 3), reTime)) << Cell(0, 3);
    EXPECT_EQ(Cell(0, 3), Wide(m_doc.FindItem(0)->GetCreatedTimeText()));
}

TEST_F(ListViewTest, RowsFollowTheDocument) {
    m_doc.AddItem(u"one");
    m_doc.AddItem(u"two");
    m_doc.AddItem(u"three");

    // A change of one entry rewrites its row in place; the selection stays.
    Select(1);
    m_doc.ReplaceItemText(1, u"TWO");
    EXPECT_EQ(Cell(1, 2), L"TWO");
    EXPECT_EQ(List().GetSelectedCount(), 1);
    EXPECT_EQ(List().GetItemImage(1, 1), List().GetItemImage(0, 1));

    // A bookmark shows its mark in the "No" cell of that row only.
    const int nPlain = List().GetItemImage(1, 1);
    m_doc.ToggleBookmark(1);
    EXPECT_NE(List().GetItemImage(1, 1), nPlain);
    EXPECT_EQ(List().GetItemImage(0, 1), nPlain);
    EXPECT_EQ(List().GetItemImage(2, 1), nPlain);

    // A new entry rebuilds the rows, newest first, with nothing selected.
    m_doc.AddItem(u"four");
    ASSERT_EQ(List().GetItemCount(), 4);
    EXPECT_EQ(Cell(0, 2), L"four");
    EXPECT_EQ(Cell(2, 2), L"TWO");
    EXPECT_NE(List().GetItemImage(2, 1), nPlain);
    EXPECT_EQ(List().GetSelectedCount(), 0);

    // A hint for a row that is gone refreshes the whole list instead.
    m_view.OnUpdate(40);
    EXPECT_EQ(List().GetItemCount(), 4);
    m_doc.ClearList();
    EXPECT_EQ(List().GetItemCount(), 0);
}

TEST_F(ListViewTest, EnterAndDoubleClickActivateAndClearTheMarkRow) {
    m_doc.AddItem(u"old");
    m_doc.AddItem(u"middle");
    m_doc.AddItem(u"new");

    Select(2);
    PressKey(VK_RETURN);
    EXPECT_EQ(m_clipboard.m_strWritten, u"old");
    EXPECT_EQ(Cell(0, 2), L"old");
    EXPECT_EQ(List().GetSelectedCount(), 0);

    Select(2);
    Notify(LVN_ITEMACTIVATE);
    EXPECT_EQ(m_clipboard.m_strWritten, u"middle");
    EXPECT_EQ(Cell(0, 2), L"middle");
    EXPECT_EQ(List().GetSelectedCount(), 0);

    // Several rows: their texts joined, newest first, go to the clipboard; the rows stay.
    Select(0);
    List().SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    PressKey(VK_RETURN);
    EXPECT_EQ(m_clipboard.m_strWritten, u"middle\r\nnew");
    EXPECT_EQ(Cell(0, 2), L"middle");

    // With nothing selected Enter does nothing.
    List().SetItemState(-1, 0, LVIS_SELECTED);
    m_clipboard.m_strWritten.clear();
    PressKey(VK_RETURN);
    EXPECT_EQ(m_clipboard.m_strWritten, u"");
}

TEST_F(ListViewTest, AClickOnTheNumberTogglesTheBookmarkAClickElsewhereDoesNot) {
    m_doc.AddItem(u"one");
    m_doc.AddItem(u"two");

    PointAt(1, 1);
    Notify(NM_CLICK);
    EXPECT_EQ(m_doc.FindItem(1)->bBookmark, 1);
    EXPECT_EQ(m_doc.FindItem(0)->bBookmark, 0);
    Notify(NM_CLICK);
    EXPECT_EQ(m_doc.FindItem(1)->bBookmark, 0);

    PointAt(1, 2);
    Notify(NM_CLICK);
    EXPECT_EQ(m_doc.FindItem(1)->bBookmark, 0);

    // Below the last row, in the "No" column: no row, nothing happens.
    RECT rc{};
    rc.top = 1;
    rc.left = LVIR_BOUNDS;
    SendMessageW(m_view.m_hWnd, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
    POINT pt{(rc.left + rc.right) / 2, rc.bottom + 40};
    ClientToScreen(m_view.m_hWnd, &pt);
    SetCursorPos(pt.x, pt.y);
    Notify(NM_CLICK);
    EXPECT_EQ(m_doc.FindItem(0)->bBookmark + m_doc.FindItem(1)->bBookmark, 0);
}
