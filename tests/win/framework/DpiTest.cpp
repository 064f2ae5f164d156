// High DPI: the manifest linked in with Korvex's resources makes the program per-monitor DPI
// aware, a 17 by 13 list picture goes into an image list made for a DPI at that DPI's size,
// whole and with its transparent corners, and a list's columns take their widths at the DPI.

#include <gtest/gtest.h>

#include "framework/Dpi.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "res/resource.h"

#include <windows.h>

#include <vector>

TEST(Dpi, TheManifestMakesTheProgramPerMonitorAware) {
    using GET_CONTEXT = HANDLE(WINAPI*)();
    using GET_AWARENESS = int(WINAPI*)(HANDLE);
    HMODULE hUser = GetModuleHandleW(L"user32.dll");
    auto pfnGetContext = reinterpret_cast<GET_CONTEXT>(
        reinterpret_cast<void*>(GetProcAddress(hUser, "GetThreadDpiAwarenessContext")));
    auto pfnGetAwareness = reinterpret_cast<GET_AWARENESS>(
        reinterpret_cast<void*>(GetProcAddress(hUser, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(pfnGetContext != nullptr && pfnGetAwareness != nullptr);
    EXPECT_EQ(pfnGetAwareness(pfnGetContext()), 2); // DPI_AWARENESS_PER_MONITOR_AWARE
}

TEST(Dpi, ListPicturesTakeTheSizeOfTheDpi) {
    const struct {
        UINT nDpi;
        int cx, cy;
    } aCases[] = {{96, 17, 13}, {120, 21, 16}, {144, 26, 20}, {192, 34, 26}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.nDpi);
        ASSERT_EQ(ScaleForDpi(17, c.nDpi), c.cx);
        ASSERT_EQ(ScaleForDpi(13, c.nDpi), c.cy);
        CImageList oImages;
        ASSERT_TRUE(oImages.Create(c.cx, c.cy, ILC_COLOR32 | ILC_MASK, 1, 1));
        EXPECT_EQ(oImages.AddBitmapResource(IDB_BOOKMARK, RGB(0, 0, 0)), 0);
        EXPECT_EQ(oImages.GetImageCount(), 1);

        // Drawn on white: the black corners let the white through, the mark fills the middle.
        BITMAPINFO bmi{};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), c.cx, -c.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* pBits = nullptr;
        HDC hdc = CreateCompatibleDC(nullptr);
        HBITMAP hTarget = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        HGDIOBJ hOld = SelectObject(hdc, hTarget);
        PatBlt(hdc, 0, 0, c.cx, c.cy, WHITENESS);
        ImageList_Draw(oImages.GetSafeHandle(), 0, hdc, 0, 0, ILD_NORMAL);
        EXPECT_EQ(GetPixel(hdc, 0, 0), RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(hdc, c.cx - 1, c.cy - 1), RGB(255, 255, 255));
        const COLORREF crMiddle = GetPixel(hdc, c.cx / 2, c.cy / 2);
        EXPECT_NE(crMiddle, RGB(255, 255, 255));
        EXPECT_NE(crMiddle, RGB(0, 0, 0));
        SelectObject(hdc, hOld);
        DeleteObject(hTarget);
        DeleteDC(hdc);
    }
}

TEST(Dpi, ListColumnsTakeTheirWidthsAtTheDpiAndKeepTheirShareWhenItChanges) {
    HWND hList = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 400, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hList, nullptr);
    CListCtrl list(hList);
    const LIST_COLUMN arrColumns[] = {{L"No", LVCFMT_RIGHT, 45}, {L"Text", LVCFMT_LEFT, 300}};
    const auto Widths = [&] {
        return std::vector<int>{ListView_GetColumnWidth(hList, 0),
                                ListView_GetColumnWidth(hList, 1)};
    };
    EXPECT_TRUE(list.InsertColumns(arrColumns, 144));
    EXPECT_EQ(Widths(), (std::vector<int>{68, 450}));
    ListView_SetColumnWidth(hList, 1, 600); // widened by the user
    list.ScaleColumnWidths(144, 96);
    EXPECT_EQ(Widths(), (std::vector<int>{45, 400}));
    DestroyWindow(hList);
}
