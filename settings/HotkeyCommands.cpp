#include "settings/HotkeyCommands.h"

#include "settings/ApplicationRegistry.h"

#include <array>

namespace {

constexpr uint32_t CtrlAlt(uint16_t nKey) {
    return CApplicationRegistry::MakeHotkey(true, true, false, nKey);
}

constexpr uint16_t kNumpadMultiply = 0x6A;
constexpr uint16_t kNumpadAdd = 0x6B;
constexpr uint16_t kNumpadSubtract = 0x6D;

constexpr std::array<HOTKEY_COMMAND, 25> kCommands{{
    {HM_SHOW_MAIN_WINDOW, HG_VIEW, 0, L"Show Main Window", CtrlAlt('A')},
    {HM_SHOW_CLIP_WINDOW, HG_VIEW, 1, L"Show Clip Window", CtrlAlt('0')},
    {HM_PREVIEW_FIRST_ITEM, HG_EDIT, 0, L"Preview First Item", 0},
    {HM_EDIT_FIRST_ITEM, HG_EDIT, 1, L"Edit First Item", 0},
    {HM_BOOKMARK_FIRST_ITEM, HG_EDIT, 2, L"Bookmark First Item", CtrlAlt('3')},
    {HM_ACTIVATE_FIRST_BOOKMARK, HG_EDIT, 3, L"Activate First Bookmark", CtrlAlt('6')},
    {HM_REVERT_FIRST_ITEMS, HG_EDIT, 4, L"Revert First Items", CtrlAlt('9')},
    {HM_UPPERCASE_FIRST_ITEM, HG_EDIT, 5, L"Uppercase First Item", 0},
    {HM_LOWERCASE_FIRST_ITEM, HG_EDIT, 6, L"Lowercase First Item", 0},
    {HM_TITLE_FIRST_ITEM, HG_EDIT, 7, L"Title First Item", 0},
    {HM_SMART_MAKE_OBJECT_FIRST_ITEM, HG_EDIT, 8, L"Smart Make Object First Item",
     CtrlAlt(kNumpadMultiply)},
    {HM_SMART_CONVERT_FROM_ID_FIRST_ITEM, HG_EDIT, 9, L"Smart Convert from ID First Item",
     CtrlAlt(kNumpadAdd)},
    {HM_SMART_CONVERT_TO_ID_FIRST_ITEM, HG_EDIT, 10, L"Smart Convert to ID First Item",
     CtrlAlt(kNumpadSubtract)},
    {HM_INSERT_DATE_DOTS, HG_EDIT, 11, L"Insert date/time - 'yyyy.mm.dd'", 0},
    {HM_INSERT_DATE_DASHES, HG_EDIT, 12, L"Insert date/time - 'yyyy-mm-dd'", 0},
    {HM_INSERT_DATE_DOTS_TIME, HG_EDIT, 13, L"Insert date/time - 'yyyy.mm.dd HH-MM-SS'", 0},
    {HM_INSERT_DATE_DASHES_TIME, HG_EDIT, 14, L"Insert date/time - 'yyyy-mm-dd HH-MM-SS'", 0},
    {HM_INSERT_DATE_DASHES_UNDERSCORE, HG_EDIT, 15, L"Insert date/time - 'yyyy-mm-dd_HH-MM-SS'", 0},
    {HM_INSERT_TIME_DASHES, HG_EDIT, 16, L"Insert date/time - 'HH-MM-SS'", 0},
    {HM_INSERT_TIME_DOTS, HG_EDIT, 17, L"Insert date/time - 'HH.MM.SS'", 0},
    {HM_INSERT_DATE_COMPACT, HG_EDIT, 18, L"Insert date/time - 'yyyymmdd'", 0},
    {HM_INSERT_TIME_COMPACT, HG_EDIT, 19, L"Insert date/time - 'HHMMSS'", 0},
    {HM_INSERT_DATE_TIME_COMPACT, HG_EDIT, 20, L"Insert date/time - 'yyyymmddHHMMSS'", 0},
    {HM_PASTE_ACTIVATED_ITEM, HG_OPTIONS, 0, L"Paste Activated Item", 0},
    {HM_RESET_CLIPBOARD_VIEWER, HG_OPTIONS, 1, L"Reset Clipboard Viewer", 0},
}};

} // namespace

std::span<const HOTKEY_COMMAND> GetHotkeyCommands() {
    return kCommands;
}

uint32_t GetDefaultHotkey(uint32_t nMessage) {
    for (const HOTKEY_COMMAND& oCommand : kCommands) {
        if (oCommand.nMessage == nMessage) {
            return oCommand.nDefaultHotkey;
        }
    }
    return 0;
}
