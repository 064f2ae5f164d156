// Spot checks of Korvex's resources as the program loads them: the menus and pop-ups that other
// code finds by position, the list bitmaps, the icons, the title string and the version record.

#include <gtest/gtest.h>

#include "res/resource.h"

#include <windows.h>

#include <vector>

namespace {

// The identifier of every item of a pop-up (0 for a separator, -1 for a pop-up).
std::vector<UINT> ItemIds(HMENU hMenu) {
    std::vector<UINT> arrIds;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        arrIds.push_back(GetMenuItemID(hMenu, i));
    return arrIds;
}

} // namespace

TEST(Resources, MenusLoadWithThePopupsFoundByPosition) {
    const struct {
        UINT nMenu;
        std::vector<UINT> arrFirstIds; // the first item of each pop-up of the bar
    } aMenus[] = {
        {IDR_MAINFRAME, {32779, 32816, 32781, 32899}}, // File, Edit, View, Help
        {IDR_TRAYMENU, {32777}},                       // "&Show Korvex"
        {IDR_CONTEXTMENU, {32814, 32815, 32887}},      // one, several or no selected entries
    };
    for (const auto& oMenu : aMenus) {
        SCOPED_TRACE(oMenu.nMenu);
        HMENU hMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(oMenu.nMenu));
        ASSERT_NE(hMenu, nullptr);
        std::vector<UINT> arrFirstIds;
        for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
            arrFirstIds.push_back(GetMenuItemID(GetSubMenu(hMenu, i), 0));
        EXPECT_EQ(arrFirstIds, oMenu.arrFirstIds);
        DestroyMenu(hMenu);
    }
    // The "Date and Time" and "Find" pop-ups at the end of the main menu's "&Edit".
    HMENU hMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    HMENU hEdit = GetSubMenu(hMenu, 1);
    const int nCount = GetMenuItemCount(hEdit);
    ASSERT_GT(nCount, 2);
    EXPECT_EQ(ItemIds(GetSubMenu(hEdit, nCount - 1)), (std::vector<UINT>{32890, 32892, 32894}));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(hEdit, nCount - 3), 0), 32794u);
    DestroyMenu(hMenu);
}

TEST(Resources, ListBitmapsAre17By13AndIconsComeInBothSizes) {
    for (UINT nId : {IDB_BOOKMARK, IDB_BLANK, IDB_DOCUMENT}) {
        auto hBitmap = static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(hBitmap, nullptr) << nId;
        BITMAP bm{};
        GetObjectW(hBitmap, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth * 100 + bm.bmHeight, 1713) << nId;
        DeleteObject(hBitmap);
    }
    for (UINT nId : {IDR_MAINFRAME, IDI_ABOUT, IDI_TRAY}) {
        for (int nSize : {16, 32}) {
            auto hIcon = static_cast<HICON>(LoadImageW(
                GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId), IMAGE_ICON, nSize, nSize, 0));
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(hIcon, &info)) << nId;
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof(bm), &bm);
            EXPECT_EQ(bm.bmWidth, nSize) << nId;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(hIcon);
        }
    }
}

TEST(Resources, TitleAndVersion) {
    wchar_t szText[256] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), IDS_APP_TITLE, szText, 256), 0);
    EXPECT_STREQ(szText, L"Korvex");

    wchar_t szPath[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, szPath, MAX_PATH), 0u);
    std::vector<BYTE> arrData(GetFileVersionInfoSizeW(szPath, nullptr));
    ASSERT_FALSE(arrData.empty());
    ASSERT_TRUE(GetFileVersionInfoW(szPath, 0, static_cast<DWORD>(arrData.size()), arrData.data()));
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLen = 0;
    ASSERT_TRUE(VerQueryValueW(arrData.data(), L"\\", reinterpret_cast<void**>(&pFixed), &nLen));
    EXPECT_EQ(pFixed->dwFileVersionMS, 0x00010000u); // 1.0.0.1
    EXPECT_EQ(pFixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(pFixed->dwProductVersionLS, 0x00000001u);
}
