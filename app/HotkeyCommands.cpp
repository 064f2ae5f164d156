#include "HotkeyCommands.h"

#include "MainFrame.h"
#include "history/DateTimeStamps.h"
#include "history/TextTransforms.h"
#include "res/KorvexMessages.h"
#include "settings/ApplicationRegistry.h"

namespace {

constexpr uint32_t CtrlAlt(uint16_t nKey) {
    return CApplicationRegistry::MakeHotkey(true, true, false, nKey);
}

constexpr uint16_t kNumpadMultiply = 0x6A;
constexpr uint16_t kNumpadAdd = 0x6B;
constexpr uint16_t kNumpadSubtract = 0x6D;

CKorvexDoc& Doc(CMainFrame& rFrame) {
    return rFrame.GetDocument();
}

// The date/time stamp of the pattern's number in DATE_TIME_PATTERNS.
template <size_t nPattern> void Stamp(CMainFrame& rFrame) {
    static_assert(nPattern < DATE_TIME_PATTERNS.size());
    Doc(rFrame).CopyDateTime(DATE_TIME_PATTERNS[nPattern]);
}

// Each group's commands in the order of the options list. The message numbers and the default
// bindings are stored settings and what other processes post: they never change.
constexpr HOTKEY_COMMAND kCommands[] = {
    {HM_SHOW_MAIN_WINDOW, HG_VIEW, L"Show Main Window", CtrlAlt('A'), 0,
     [](CMainFrame& f) { f.ToggleShown(); }},
    {0x0402, HG_VIEW, L"Show Clip Window", CtrlAlt('0'), 0,
     [](CMainFrame& f) { f.ToggleSmallClip(); }},
    {0x0475, HG_EDIT, L"Preview First Item", 0, 0, [](CMainFrame& f) { f.OpenFirstItem(false); }},
    {0x0476, HG_EDIT, L"Edit First Item", 0, 0, [](CMainFrame& f) { f.OpenFirstItem(true); }},
    {0x0477, HG_EDIT, L"Bookmark First Item", CtrlAlt('3'), 1,
     [](CMainFrame& f) { Doc(f).ToggleBookmark(0); }},
    {0x0478, HG_EDIT, L"Activate First Bookmark", CtrlAlt('6'), 0,
     [](CMainFrame& f) {
         const int32_t nIndex = Doc(f).FindNextBookmark(-1);
         if (nIndex >= 0) {
             Doc(f).ActivateItem(nIndex);
         }
     }},
    {0x0465, HG_EDIT, L"Revert First Items", CtrlAlt('9'), 0,
     [](CMainFrame& f) { Doc(f).RevertFirstItems(); }},
    {0x0466, HG_EDIT, L"Uppercase First Item", 0, 1,
     [](CMainFrame& f) { Doc(f).ChangeCase(0, kCaseUpper, false); }},
    {0x0467, HG_EDIT, L"Lowercase First Item", 0, 1,
     [](CMainFrame& f) { Doc(f).ChangeCase(0, kCaseLower, false); }},
    {0x0479, HG_EDIT, L"Title First Item", 0, 1,
     [](CMainFrame& f) { Doc(f).ChangeCase(0, kCaseTitle, false); }},
    {0x0468, HG_EDIT, L"Smart Make Object First Item", CtrlAlt(kNumpadMultiply), 1,
     [](CMainFrame& f) { Doc(f).MakeObject(0, false); }},
    {0x046A, HG_EDIT, L"Smart Convert from ID First Item", CtrlAlt(kNumpadAdd), 1,
     [](CMainFrame& f) { Doc(f).ConvertFromId(0, false); }},
    {0x0469, HG_EDIT, L"Smart Convert to ID First Item", CtrlAlt(kNumpadSubtract), 1,
     [](CMainFrame& f) { Doc(f).ConvertToId(0, false); }},
    {0x046B, HG_EDIT, L"Insert date/time - 'yyyy.mm.dd'", 0, 0, &Stamp<0>},
    {0x046C, HG_EDIT, L"Insert date/time - 'yyyy-mm-dd'", 0, 0, &Stamp<1>},
    {0x046D, HG_EDIT, L"Insert date/time - 'yyyy.mm.dd HH-MM-SS'", 0, 0, &Stamp<2>},
    {0x046E, HG_EDIT, L"Insert date/time - 'yyyy-mm-dd HH-MM-SS'", 0, 0, &Stamp<3>},
    {0x046F, HG_EDIT, L"Insert date/time - 'yyyy-mm-dd_HH-MM-SS'", 0, 0, &Stamp<4>},
    {0x0470, HG_EDIT, L"Insert date/time - 'HH-MM-SS'", 0, 0, &Stamp<5>},
    {0x0471, HG_EDIT, L"Insert date/time - 'HH.MM.SS'", 0, 0, &Stamp<6>},
    {0x0472, HG_EDIT, L"Insert date/time - 'yyyymmdd'", 0, 0, &Stamp<7>},
    {0x0473, HG_EDIT, L"Insert date/time - 'HHMMSS'", 0, 0, &Stamp<8>},
    {0x0474, HG_EDIT, L"Insert date/time - 'yyyymmddHHMMSS'", 0, 0, &Stamp<9>},
    {0x04C9, HG_OPTIONS, L"Paste Activated Item", 0, 0, [](CMainFrame& f) { f.OnToggleDoPaste(); }},
    {0x04CA, HG_OPTIONS, L"Reset Clipboard Viewer", 0, 0,
     [](CMainFrame& f) { f.RejoinClipboardChain(); }},
    {0x04CB, HG_OPTIONS, L"Pause Recording", 0, 0, [](CMainFrame& f) { f.TogglePauseRecording(); }},
};

} // namespace

std::vector<HOTKEY_DESCRIPTION> GetHotkeyDescriptions() {
    std::vector<HOTKEY_DESCRIPTION> arrDescriptions;
    for (const HOTKEY_COMMAND& oCommand : kCommands) {
        arrDescriptions.push_back(
            {oCommand.nMessage, oCommand.nGroup, oCommand.pszName, oCommand.nDefaultHotkey});
    }
    return arrDescriptions;
}

bool RunHotkeyCommand(CMainFrame& rFrame, uint32_t nMessage) {
    for (const HOTKEY_COMMAND& oCommand : kCommands) {
        if (oCommand.nMessage == nMessage) {
            if (rFrame.GetDocument().GetItemCount() >= oCommand.nEntriesNeeded) {
                oCommand.pfnRun(rFrame);
            }
            return true;
        }
    }
    return false;
}
