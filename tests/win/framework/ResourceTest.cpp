// Korvex's pop-up menus as the program loads them: its code picks each pop-up by its position.

#include <gtest/gtest.h>

#include "res/resource.h"

#include <windows.h>

#include <vector>

TEST(Resources, PopupsFoundByPositionHoldTheirCommands) {
    const struct {
        UINT nMenu;
        std::vector<UINT> arrFirstIds; // the first item of each pop-up
    } aMenus[] = {
        {IDR_TRAYMENU, {32777}},                  // "&Show Korvex"
        {IDR_CONTEXTMENU, {32814, 32815, 32887}}, // one, several or no selected entries
    };
    for (const auto& oMenu : aMenus) {
        SCOPED_TRACE(oMenu.nMenu);
        HMENU hMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(oMenu.nMenu));
        ASSERT_NE(hMenu, nullptr);
        std::vector<UINT> arrFirstIds;
        for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
            arrFirstIds.push_back(GetMenuItemID(GetSubMenu(hMenu, i), 0));
        }
        EXPECT_EQ(arrFirstIds, oMenu.arrFirstIds);
        DestroyMenu(hMenu);
    }
}
