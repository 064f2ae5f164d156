// The list-control, image-list and menu helpers on real controls and menus.

#include <gtest/gtest.h>

#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "framework/Menu.h"
#include "framework/Wnd.h"
#include "res/resource.h"

#include <string>
#include <vector>

namespace {

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"list parent", WS_OVERLAPPEDWINDOW,
                                      RECT{0, 0, 500, 400}, nullptr, 0));
        ASSERT_TRUE(m_listWnd.CreateEx(0, WC_LISTVIEWW, L"",
                                       WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS,
                                       RECT{0, 0, 480, 380}, m_parent.m_hWnd, 1));
        m_list = CListCtrl(m_listWnd.m_hWnd);
        ASSERT_EQ(m_list.InsertColumn(0, L"", LVCFMT_LEFT, 0), 0);
        ASSERT_EQ(m_list.InsertColumn(1, L"No", LVCFMT_RIGHT, 45), 1);
        ASSERT_EQ(m_list.InsertColumn(2, L"Text", LVCFMT_LEFT, 300), 2);
        for (int i = 0; i < 8; ++i) {
            ASSERT_EQ(m_list.InsertItem(i, L""), i);
            m_list.SetItem(i, 1, std::to_wstring(i + 1).c_str(), 0);
            m_list.SetItemText(i, 2, (L"text " + std::to_wstring(i)).c_str());
        }
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CWnd m_parent, m_listWnd;
    CListCtrl m_list;
};

// Draws image nImage transparently over a red 17x13 square and reads back one pixel.
COLORREF DrawnPixel(const CImageList& images, int nImage, int x, int y) {
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hTarget = CreateCompatibleBitmap(hdcScreen, 17, 13);
    ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ hOld = SelectObject(hdc, hTarget);
    RECT rc{0, 0, 17, 13};
    HBRUSH hRed = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hdc, &rc, hRed);
    DeleteObject(hRed);
    ImageList_Draw(images.GetSafeHandle(), nImage, hdc, 0, 0, ILD_TRANSPARENT);
    const COLORREF cr = GetPixel(hdc, x, y);
    SelectObject(hdc, hOld);
    DeleteObject(hTarget);
    DeleteDC(hdc);
    return cr;
}

} // namespace

TEST_F(ListTest, CellsComeBackWhole) {
    EXPECT_EQ(m_list.GetColumnCount(), 3);
    EXPECT_EQ(m_list.GetItemText(3, 1), L"4");
    EXPECT_EQ(m_list.GetItemText(3, 2), L"text 3");
    // A text much longer than a first guess of a buffer comes back whole.
    const std::wstring strLong = std::wstring(1000, L'x') + L"end";
    ASSERT_TRUE(m_list.SetItemText(0, 2, strLong.c_str()));
    EXPECT_EQ(m_list.GetItemText(0, 2), strLong);
}

TEST_F(ListTest, SelectedRowsComeAscendingAndHitTestsFindRowAndColumn) {
    EXPECT_TRUE(m_list.GetSelectedItems().empty());
    for (int nItem : {5, 1, 3})
        ASSERT_TRUE(m_list.SetItemState(nItem, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(m_list.GetSelectedItems(), (std::vector<int>{1, 3, 5}));
    ASSERT_TRUE(m_list.SetItemState(3, 0, LVIS_SELECTED)); // the others keep their selection
    EXPECT_EQ(m_list.GetSelectedItems(), (std::vector<int>{1, 5}));
    ASSERT_TRUE(m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED)); // every row at once
    EXPECT_EQ(m_list.GetSelectedCount(), 8);

    RECT rc{LVIR_BOUNDS, 1, 0, 0}; // row 2, sub-item 1
    ASSERT_TRUE(
        SendMessageW(m_listWnd.m_hWnd, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&rc)));
    POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    int nSubItem = -5;
    EXPECT_EQ(m_list.SubItemHitTest(pt, &nSubItem), 2);
    EXPECT_EQ(nSubItem, 1);
    pt.x += 100; // into the "Text" column
    EXPECT_EQ(m_list.SubItemHitTest(pt, &nSubItem), 2);
    EXPECT_EQ(nSubItem, 2);
    pt.y += 400; // below the last row
    EXPECT_EQ(m_list.SubItemHitTest(pt, &nSubItem), -1);
    EXPECT_EQ(nSubItem, -1);
}

TEST_F(ListTest, BlackIsTransparentInTheRowImagesAndTheListSharesThem) {
    CImageList images;
    ASSERT_TRUE(images.Create(17, 13, ILC_COLOR32 | ILC_MASK, 1, 1));
    const int nPlain = images.AddBitmapResource(IDB_BLANK, RGB(0, 0, 0));
    const int nBookmark = images.AddBitmapResource(IDB_BOOKMARK, RGB(0, 0, 0));
    EXPECT_EQ(images.AddBitmapResource(4242, RGB(0, 0, 0)), -1) << "no such bitmap";
    // Drawn over red, the blank image leaves everything red, the bookmark only its corners.
    EXPECT_EQ(DrawnPixel(images, nPlain, 8, 6), RGB(255, 0, 0));
    EXPECT_EQ(DrawnPixel(images, nBookmark, 16, 12), RGB(255, 0, 0));
    EXPECT_NE(DrawnPixel(images, nBookmark, 8, 6), RGB(255, 0, 0));
    EXPECT_NE(DrawnPixel(images, nBookmark, 1, 0), RGB(255, 0, 0));

    m_list.SetExtendedStyle(LVS_EX_SUBITEMIMAGES);
    m_list.SetImageList(images.GetSafeHandle());
    ASSERT_TRUE(m_list.SetItem(1, 1, L"2", nBookmark));
    ASSERT_TRUE(m_list.SetItemText(1, 1, L"two")); // text only: the image stays
    EXPECT_EQ(m_list.GetItemImage(1, 1), nBookmark);
    m_listWnd.DestroyWindow(); // the images stay with their owner
    EXPECT_EQ(ImageList_GetImageCount(images.GetSafeHandle()), 2);
}

namespace {

// Owner of a tracked pop-up: notes what opened, then closes the menu.
class CMenuOwner : public CWnd {
public:
    UINT m_nFirstId = 0;
    int m_nDefaultPos = -2;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
        if (nMsg == WM_INITMENUPOPUP && m_nFirstId == 0) {
            m_nFirstId = GetMenuItemID(reinterpret_cast<HMENU>(wParam), 0);
            m_nDefaultPos =
                static_cast<int>(GetMenuDefaultItem(reinterpret_cast<HMENU>(wParam), TRUE, 0));
            PostMessageW(m_hWnd, WM_CANCELMODE, 0, 0);
        }
        if (nMsg == WM_CANCELMODE)
            EndMenu();
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
};

} // namespace

TEST(MenuHelpers, ShowPopupMenuTracksThePopupAtItsPositionWithItsDefaultItem) {
    CMenuOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"menu owner", WS_OVERLAPPED | WS_VISIBLE,
                               RECT{10, 10, 200, 200}, nullptr, 0));
    SetForegroundWindow(owner.m_hWnd);
    // A safety net so that a menu that does not close ends the test instead of hanging it.
    UINT_PTR nTimer = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    EXPECT_TRUE(ShowPopupMenu(IDR_TRAYMENU, 0, POINT{50, 50}, owner.m_hWnd, 0));
    KillTimer(nullptr, nTimer);
    EXPECT_EQ(owner.m_nFirstId, 32777u);
    EXPECT_EQ(owner.m_nDefaultPos, 0);
    EXPECT_FALSE(ShowPopupMenu(4242, 0, POINT{50, 50}, owner.m_hWnd));
    EXPECT_FALSE(ShowPopupMenu(IDR_TRAYMENU, 5, POINT{50, 50}, owner.m_hWnd));
    owner.DestroyWindow();
}
