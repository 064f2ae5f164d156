#include "FirstItemCommands.h"

#include "history/DateTimeStamps.h"
#include "history/TextTransforms.h"
#include "res/KorvexMessages.h"

namespace {

struct FIRST_ITEM_COMMAND {
    uint32_t nMessage;
    int32_t nEntriesNeeded;
    void (*pfnRun)(CKorvexDoc& rDoc);
};

constexpr FIRST_ITEM_COMMAND FIRST_ITEM_COMMANDS[] = {
    // The second entry goes to the head (and to the clipboard): the first two change places.
    {HM_REVERT_FIRST_ITEMS, 2, [](CKorvexDoc& rDoc) { rDoc.ActivateItem(1); }},
    {HM_UPPERCASE_FIRST_ITEM, 1, [](CKorvexDoc& rDoc) { rDoc.ChangeCase(0, kCaseUpper, false); }},
    {HM_LOWERCASE_FIRST_ITEM, 1, [](CKorvexDoc& rDoc) { rDoc.ChangeCase(0, kCaseLower, false); }},
    {HM_TITLE_FIRST_ITEM, 1, [](CKorvexDoc& rDoc) { rDoc.ChangeCase(0, kCaseTitle, false); }},
    {HM_SMART_MAKE_OBJECT_FIRST_ITEM, 1, [](CKorvexDoc& rDoc) { rDoc.MakeObject(0, false); }},
    {HM_SMART_CONVERT_TO_ID_FIRST_ITEM, 1, [](CKorvexDoc& rDoc) { rDoc.ConvertToId(0, false); }},
    {HM_SMART_CONVERT_FROM_ID_FIRST_ITEM, 1,
     [](CKorvexDoc& rDoc) { rDoc.ConvertFromId(0, false); }},
    {HM_BOOKMARK_FIRST_ITEM, 1, [](CKorvexDoc& rDoc) { rDoc.ToggleBookmark(0); }},
    {HM_ACTIVATE_FIRST_BOOKMARK, 0,
     [](CKorvexDoc& rDoc) {
         const int32_t nIndex = rDoc.FindNextBookmark(-1);
         if (nIndex >= 0) {
             rDoc.ActivateItem(nIndex);
         }
     }},
};

} // namespace

bool RunFirstItemCommand(CKorvexDoc& rDoc, uint32_t nMessage) {
    if (nMessage >= HM_INSERT_DATE_DOTS && nMessage <= HM_INSERT_DATE_TIME_COMPACT) {
        rDoc.CopyDateTime(DATE_TIME_PATTERNS[nMessage - HM_INSERT_DATE_DOTS]);
        return true;
    }
    for (const FIRST_ITEM_COMMAND& command : FIRST_ITEM_COMMANDS) {
        if (command.nMessage == nMessage) {
            if (rDoc.GetItemCount() >= command.nEntriesNeeded) {
                command.pfnRun(rDoc);
            }
            return true;
        }
    }
    return false;
}
