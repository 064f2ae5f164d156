// Korvex's resources as the program loads them: menus with their texts, identifiers and
// pop-ups, the list bitmaps, the icons, the strings, the version record and the manifest.

#include <gtest/gtest.h>

#include "res/resource.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct MENU_ENTRY {
    UINT nId; // 0 for a separator, -1 for a pop-up
    std::wstring strText;
};

constexpr UINT POPUP = static_cast<UINT>(-1);

std::vector<MENU_ENTRY> ReadMenu(HMENU hMenu) {
    std::vector<MENU_ENTRY> arrEntries;
    int nCount = GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        wchar_t szText[128] = {};
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        mii.dwTypeData = szText;
        mii.cch = 128;
        EXPECT_TRUE(GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &mii));
        UINT nId = mii.hSubMenu ? POPUP : (mii.fType & MFT_SEPARATOR) ? 0 : mii.wID;
        arrEntries.push_back({nId, szText});
    }
    return arrEntries;
}

std::vector<UINT> IdsOf(HMENU hMenu) {
    std::vector<UINT> arrIds;
    for (const MENU_ENTRY& entry : ReadMenu(hMenu))
        arrIds.push_back(entry.nId);
    return arrIds;
}

HMENU LoadMenuResource(UINT nId) {
    return LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId));
}

const std::vector<UINT> kEditDateIds = {32794, 32795, 0, 32796, 32797, 32798, 0,
                                        32799, 32800, 0, 32801, 32803, 32804};
const std::vector<UINT> kContextDateIds = {32817, 32818, 0, 32819, 32820, 32821, 0,
                                           32822, 32823, 0, 32824, 32825, 32826};

} // namespace

TEST(Resources, MainMenu) {
    HMENU hMenu = LoadMenuResource(IDR_MAINFRAME);
    ASSERT_NE(hMenu, nullptr);
    auto arrBar = ReadMenu(hMenu);
    ASSERT_EQ(arrBar.size(), 4u);
    EXPECT_EQ(arrBar[0].strText, L"&File");
    EXPECT_EQ(arrBar[1].strText, L"&Edit");
    EXPECT_EQ(arrBar[2].strText, L"&View");
    EXPECT_EQ(arrBar[3].strText, L"&Help");

    EXPECT_EQ(IdsOf(GetSubMenu(hMenu, 0)), (std::vector<UINT>{32779, 0, 32778, 0, 32780}));
    EXPECT_EQ(ReadMenu(GetSubMenu(hMenu, 0))[4].strText, L"E&xit");

    HMENU hEdit = GetSubMenu(hMenu, 1);
    std::vector<UINT> arrEditIds = {32816, 32808, 32807, 0,     32885, 0,     32841, 32861, 32860,
                                    32850, 0,     32828, 0,     32858, 32866, 0,     32896, 32863,
                                    32862, 32811, 32809, 32864, 0,     POPUP, 0,     POPUP};
    EXPECT_EQ(IdsOf(hEdit), arrEditIds);
    auto arrEdit = ReadMenu(hEdit);
    EXPECT_EQ(arrEdit[0].strText, L"Activate Item(s)\tEnter");
    EXPECT_EQ(arrEdit[8].strText, L"Go To Previous Bookmark\tShift + F2");
    EXPECT_EQ(arrEdit[14].strText, L"Invert and Activate Items\tCtrl + Shift + I");
    EXPECT_EQ(arrEdit[23].strText, L"Date and Time");
    EXPECT_EQ(arrEdit[25].strText, L"Find");
    EXPECT_EQ(IdsOf(GetSubMenu(hEdit, 23)), kEditDateIds);
    EXPECT_EQ(ReadMenu(GetSubMenu(hEdit, 23))[4].strText, L"yyyy-mm-dd HH-MM-SS");
    EXPECT_EQ(IdsOf(GetSubMenu(hEdit, 25)), (std::vector<UINT>{32890, 32892, 32894}));
    EXPECT_EQ(ReadMenu(GetSubMenu(hEdit, 25))[2].strText, L"Find Previous\tShift + F3");

    EXPECT_EQ(IdsOf(GetSubMenu(hMenu, 2)), (std::vector<UINT>{32781}));
    EXPECT_EQ(ReadMenu(GetSubMenu(hMenu, 2))[0].strText, L"&Enable Docking");
    EXPECT_EQ(IdsOf(GetSubMenu(hMenu, 3)), (std::vector<UINT>{32899, 0, 32834}));
    EXPECT_EQ(ReadMenu(GetSubMenu(hMenu, 3))[2].strText, L"&About Korvex...");
    DestroyMenu(hMenu);
}

TEST(Resources, TrayMenu) {
    HMENU hMenu = LoadMenuResource(IDR_TRAYMENU);
    ASSERT_NE(hMenu, nullptr);
    auto arrBar = ReadMenu(hMenu);
    ASSERT_EQ(arrBar.size(), 1u);
    EXPECT_EQ(arrBar[0].strText, L"TrayMenu");
    auto arrTray = ReadMenu(GetSubMenu(hMenu, 0));
    EXPECT_EQ(IdsOf(GetSubMenu(hMenu, 0)),
              (std::vector<UINT>{32777, 0, 32883, 0, 32835, 32882, 0, 32776}));
    ASSERT_EQ(arrTray.size(), 8u);
    EXPECT_EQ(arrTray[0].strText, L"&Show Korvex");
    EXPECT_EQ(arrTray[2].strText, L"Clear List");
    EXPECT_EQ(arrTray[5].strText, L"&Paste Activated Item");
    DestroyMenu(hMenu);
}

TEST(Resources, ContextMenus) {
    HMENU hMenu = LoadMenuResource(IDR_CONTEXTMENU);
    ASSERT_NE(hMenu, nullptr);
    auto arrBar = ReadMenu(hMenu);
    ASSERT_EQ(arrBar.size(), 3u);
    EXPECT_EQ(arrBar[0].strText, L"Item");
    EXPECT_EQ(arrBar[1].strText, L"MultiItem");
    EXPECT_EQ(arrBar[2].strText, L"NoSelectedItem");

    HMENU hItem = GetSubMenu(hMenu, 0);
    EXPECT_EQ(IdsOf(hItem), (std::vector<UINT>{32814, 32805, 32806, 0,     32887, 0, 32842,
                                               32867, 32868, 32848, 0,     32829, 0, 32898,
                                               32870, 32869, 32787, 32786, 32871, 0, POPUP}));
    EXPECT_EQ(ReadMenu(hItem)[11].strText, L"Remove Item\tDel");
    HMENU hMulti = GetSubMenu(hMenu, 1);
    EXPECT_EQ(IdsOf(hMulti), (std::vector<UINT>{32815, 32881, 32880, 32875, 0, 32877, 32876, 32852,
                                                32851, 32878, 0, POPUP}));
    EXPECT_EQ(ReadMenu(hMulti)[0].strText, L"Activate Items\tEnter");
    HMENU hNone = GetSubMenu(hMenu, 2);
    EXPECT_EQ(IdsOf(hNone), (std::vector<UINT>{32887, 0, 32867, 32868, 32848, 0, POPUP}));

    for (HMENU hPopup : {hItem, hMulti, hNone}) {
        int nLast = GetMenuItemCount(hPopup) - 1;
        EXPECT_EQ(ReadMenu(hPopup)[nLast].strText, L"Date and Time");
        EXPECT_EQ(IdsOf(GetSubMenu(hPopup, nLast)), kContextDateIds);
        EXPECT_EQ(ReadMenu(GetSubMenu(hPopup, nLast))[12].strText, L"yyyymmddHHMMSS");
    }
    DestroyMenu(hMenu);
}

TEST(Resources, ListBitmapsAre17By13With24BitColour) {
    struct EXPECTED {
        UINT nId;
        COLORREF crCorner; // pixel (0, 0)
        bool bCentreBlack; // pixel (8, 6)
    };
    for (EXPECTED e :
         {EXPECTED{IDB_BOOKMARK, RGB(0, 0, 0), false}, EXPECTED{IDB_BLANK, RGB(0, 0, 0), true},
          EXPECTED{IDB_DOCUMENT, RGB(0, 0x84, 0x84), false}}) {
        SCOPED_TRACE(e.nId);
        auto hBitmap =
            static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(e.nId),
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(hBitmap, nullptr);
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(hBitmap, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
        EXPECT_EQ(dib.dsBm.bmWidth, 17);
        EXPECT_EQ(dib.dsBm.bmHeight, 13);
        EXPECT_EQ(dib.dsBmih.biBitCount, 24);
        HDC hdc = CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hBitmap);
        EXPECT_EQ(GetPixel(hdc, 0, 0), e.crCorner);
        EXPECT_EQ(GetPixel(hdc, 8, 6) == RGB(0, 0, 0), e.bCentreBlack);
        if (e.nId == IDB_BOOKMARK) {
            for (POINT pt : {POINT{16, 0}, POINT{0, 12}, POINT{16, 12}})
                EXPECT_EQ(GetPixel(hdc, pt.x, pt.y), RGB(0, 0, 0));
            // Only the corners are black; the border shades from white at the top left.
            EXPECT_NE(GetPixel(hdc, 1, 0), RGB(0, 0, 0));
            EXPECT_GT(GetRValue(GetPixel(hdc, 1, 0)), GetRValue(GetPixel(hdc, 15, 12)));
        }
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hBitmap);
    }
}

TEST(Resources, Icons) {
    for (UINT nId : {IDR_MAINFRAME, IDI_ABOUT, IDI_TRAY}) {
        for (int nSize : {16, 32}) {
            SCOPED_TRACE(nId * 100 + nSize);
            auto hIcon = static_cast<HICON>(LoadImageW(
                GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nId), IMAGE_ICON, nSize, nSize, 0));
            ASSERT_NE(hIcon, nullptr);
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(hIcon, &info));
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof(bm), &bm);
            EXPECT_EQ(bm.bmWidth, nSize);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(hIcon);
        }
    }
}

TEST(Resources, Strings) {
    wchar_t szText[256] = {};
    HINSTANCE hInstance = GetModuleHandleW(nullptr);
    ASSERT_GT(LoadStringW(hInstance, IDS_APP_TITLE, szText, 256), 0);
    EXPECT_STREQ(szText, L"Korvex");
    ASSERT_GT(LoadStringW(hInstance, IDS_OLE_INIT_FAILED, szText, 256), 0);
    EXPECT_STREQ(szText, L"OLE initialization failed.  Make sure that the OLE libraries are the "
                         L"correct version.");
    ASSERT_GT(LoadStringW(hInstance, IDR_MAINFRAME, szText, 256), 0);
    EXPECT_STREQ(szText, L"Korvex\n\nKorvex\n\n\n\n");
}

TEST(Resources, VersionRecordAndTextFields) {
    wchar_t szPath[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, szPath, MAX_PATH), 0u);
    DWORD nHandle = 0;
    DWORD nSize = GetFileVersionInfoSizeW(szPath, &nHandle);
    ASSERT_GT(nSize, 0u);
    std::vector<BYTE> arrData(nSize);
    ASSERT_TRUE(GetFileVersionInfoW(szPath, 0, nSize, arrData.data()));
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLen = 0;
    ASSERT_TRUE(VerQueryValueW(arrData.data(), L"\\", reinterpret_cast<void**>(&pFixed), &nLen));
    EXPECT_EQ(pFixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(pFixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(pFixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(pFixed->dwFileVersionLS, 0x00000001u);

    wchar_t* pszValue = nullptr;
    ASSERT_TRUE(VerQueryValueW(arrData.data(), L"\\StringFileInfo\\040904b0\\ProductVersion",
                               reinterpret_cast<void**>(&pszValue), &nLen));
    EXPECT_STREQ(pszValue, L"1.0.0.01");
    ASSERT_TRUE(VerQueryValueW(arrData.data(), L"\\StringFileInfo\\040904b0\\ProductName",
                               reinterpret_cast<void**>(&pszValue), &nLen));
    EXPECT_STREQ(pszValue, L"Korvex");
}

TEST(Resources, AboutBoxTemplateAndManifest) {
    HWND hDlg = CreateDialogParamW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(hDlg, nullptr);
    wchar_t szText[64] = {};
    GetWindowTextW(hDlg, szText, 64);
    EXPECT_STREQ(szText, L"About Korvex");
    GetDlgItemTextW(hDlg, IDC_VERSION, szText, 64);
    EXPECT_STREQ(szText, L"1.0.0.0");
    GetDlgItemTextW(hDlg, IDOK, szText, 64);
    EXPECT_STREQ(szText, L"OK");
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(hDlg, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    DestroyWindow(hDlg);

    HRSRC hRes = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(hRes, nullptr);
    auto pData = static_cast<const char*>(LockResource(LoadResource(nullptr, hRes)));
    std::string strManifest(pData, SizeofResource(nullptr, hRes));
    EXPECT_NE(strManifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(strManifest.find("asInvoker"), std::string::npos);
}
