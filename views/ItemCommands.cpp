#include "ItemCommands.h"

#include "FindDlg.h"
#include "ViewItemDlg.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "history/DateTimeStamps.h"
#include "res/resource.h"

#include <algorithm>
#include <string_view>

template <size_t nPattern> void CItemCommands::OnDateTime() {
    static_assert(nPattern < DATE_TIME_PATTERNS.size());
    OnDateTime(DATE_TIME_PATTERNS[nPattern]);
}

namespace {

using Command = void (CItemCommands::*)();

// Which selections a command acts on (exactly one row, at least one, at least two, any); its
// Edit menu item is enabled for exactly those.
enum class Needs : uint8_t { OneRow, OneOrMore, TwoOrMore, Nothing };

bool IsEnabledFor(Needs nNeeds, int nSelected) {
    switch (nNeeds) {
    case Needs::OneRow:
        return nSelected == 1;
    case Needs::OneOrMore:
        return nSelected >= 1;
    case Needs::TwoOrMore:
        return nSelected >= 2;
    case Needs::Nothing:
        break;
    }
    return true;
}

// A window-local shortcut: the key with Ctrl and Shift as given (Alt is never part of one);
// key 0 for none.
struct SHORTCUT {
    bool bCtrl;
    bool bShift;
    uint16_t nKey;
};
constexpr SHORTCUT kNoKey{false, false, 0};
constexpr SHORTCUT Key(uint16_t nKey) {
    return {false, false, nKey};
}
constexpr SHORTCUT Ctrl(uint16_t nKey) {
    return {true, false, nKey};
}
constexpr SHORTCUT Shift(uint16_t nKey) {
    return {false, true, nKey};
}
constexpr SHORTCUT CtrlShift(uint16_t nKey) {
    return {true, true, nKey};
}

// Every item command: its Edit menu item (0 for none), the items of the context menus (0 for
// none), the selection it needs, its shortcut and what it runs. Find, Find Next and Find
// Previous are in no context menu; Select All is only a shortcut.
struct ITEM_COMMAND {
    UINT nEditId;
    UINT nContextId;
    UINT nOtherContextId;
    Needs nNeeds;
    SHORTCUT key;
    Command pfn;
};
using IC = CItemCommands;
using enum Needs;
const ITEM_COMMAND ITEM_COMMANDS[] = {
    {ID_EDIT_ACTIVATE, ID_ITEM_ACTIVATE, ID_MULTI_ACTIVATE, OneOrMore, Key(VK_RETURN),
     &IC::OnActivate},
    {ID_EDIT_PREVIEW, ID_ITEM_PREVIEW, 0, OneRow, kNoKey, &IC::OnPreview},
    {ID_EDIT_EDIT, ID_ITEM_EDIT, 0, OneRow, Ctrl(VK_RETURN), &IC::OnEdit},
    {ID_EDIT_REVERT_FIRST, ID_CONTEXT_REVERT_FIRST, 0, Nothing, kNoKey, &IC::OnRevertFirstItems},
    {ID_EDIT_BOOKMARK, ID_ITEM_BOOKMARK, 0, OneRow, Ctrl(VK_F2), &IC::OnBookmarkItem},
    {ID_EDIT_NEXT_BOOKMARK, ID_CONTEXT_NEXT_BOOKMARK, 0, Nothing, Key(VK_F2), &IC::OnNextBookmark},
    {ID_EDIT_PREV_BOOKMARK, ID_CONTEXT_PREV_BOOKMARK, 0, Nothing, Shift(VK_F2),
     &IC::OnPrevBookmark},
    {ID_EDIT_CLEAR_BOOKMARKS, ID_CONTEXT_CLEAR_BOOKMARKS, 0, Nothing, kNoKey,
     &IC::OnClearBookmarks},
    {ID_EDIT_REMOVE, ID_ITEM_REMOVE, ID_MULTI_REMOVE, OneOrMore, Key(VK_DELETE), &IC::OnRemove},
    {ID_EDIT_INVERT, ID_MULTI_INVERT, 0, TwoOrMore, Ctrl('I'), &IC::OnInvertItems},
    {ID_EDIT_INVERT_ACTIVATE, ID_MULTI_INVERT_ACTIVATE, 0, TwoOrMore, CtrlShift('I'),
     &IC::OnInvertAndActivateItems},
    {ID_EDIT_MAKE_OBJECT, ID_ITEM_MAKE_OBJECT, 0, OneRow, Ctrl('O'), &IC::OnMakeObject},
    {ID_EDIT_FROM_ID, ID_ITEM_FROM_ID, ID_MULTI_FROM_ID, OneOrMore, Ctrl('D'),
     &IC::OnConvertFromId},
    {ID_EDIT_TO_ID, ID_ITEM_TO_ID, ID_MULTI_TO_ID, OneOrMore, CtrlShift('D'), &IC::OnConvertToId},
    {ID_EDIT_LOWERCASE, ID_ITEM_LOWERCASE, ID_MULTI_LOWERCASE, OneOrMore, Ctrl('U'),
     &IC::OnLowercase},
    {ID_EDIT_UPPERCASE, ID_ITEM_UPPERCASE, ID_MULTI_UPPERCASE, OneOrMore, CtrlShift('U'),
     &IC::OnUppercase},
    {ID_EDIT_TITLE, ID_ITEM_TITLE, ID_MULTI_TITLE, OneOrMore, Ctrl('T'), &IC::OnTitle},
    {ID_EDIT_FIND, 0, 0, Nothing, Ctrl('F'), &IC::OnFind},
    {ID_EDIT_FIND_NEXT, 0, 0, Nothing, Key(VK_F3), &IC::OnFindNext},
    {ID_EDIT_FIND_PREV, 0, 0, Nothing, Shift(VK_F3), &IC::OnFindPrev},
    {0, 0, 0, Nothing, Ctrl('A'), &IC::OnSelectAll},
    // The date/time stamps, in the order of the patterns (ID_EDIT_DATE_9 does not follow
    // ID_EDIT_DATE_8 directly).
    {ID_EDIT_DATE_1, ID_CONTEXT_DATE_1, 0, Nothing, kNoKey, &IC::OnDateTime<0>},
    {ID_EDIT_DATE_2, ID_CONTEXT_DATE_2, 0, Nothing, kNoKey, &IC::OnDateTime<1>},
    {ID_EDIT_DATE_3, ID_CONTEXT_DATE_3, 0, Nothing, kNoKey, &IC::OnDateTime<2>},
    {ID_EDIT_DATE_4, ID_CONTEXT_DATE_4, 0, Nothing, kNoKey, &IC::OnDateTime<3>},
    {ID_EDIT_DATE_5, ID_CONTEXT_DATE_5, 0, Nothing, kNoKey, &IC::OnDateTime<4>},
    {ID_EDIT_DATE_6, ID_CONTEXT_DATE_6, 0, Nothing, kNoKey, &IC::OnDateTime<5>},
    {ID_EDIT_DATE_7, ID_CONTEXT_DATE_7, 0, Nothing, kNoKey, &IC::OnDateTime<6>},
    {ID_EDIT_DATE_8, ID_CONTEXT_DATE_8, 0, Nothing, kNoKey, &IC::OnDateTime<7>},
    {ID_EDIT_DATE_9, ID_CONTEXT_DATE_9, 0, Nothing, kNoKey, &IC::OnDateTime<8>},
    {ID_EDIT_DATE_10, ID_CONTEXT_DATE_10, 0, Nothing, kNoKey, &IC::OnDateTime<9>},
};

// The command of a menu item: of the Edit menu's items and of the context menus' as asked.
const ITEM_COMMAND* FindCommand(UINT nId, bool bEditIds, bool bContextIds) {
    if (nId == 0) {
        return nullptr;
    }
    for (const ITEM_COMMAND& command : ITEM_COMMANDS) {
        if ((bEditIds && command.nEditId == nId) ||
            (bContextIds && (command.nContextId == nId || command.nOtherContextId == nId))) {
            return &command;
        }
    }
    return nullptr;
}

bool IsContiguous(const std::vector<int32_t>& arrIndexes) {
    for (size_t i = 1; i < arrIndexes.size(); ++i) {
        if (arrIndexes[i] - arrIndexes[i - 1] != 1) {
            return false;
        }
    }
    return true;
}

bool IsKeyDown(int nVirtualKey) {
    return (GetKeyState(nVirtualKey) & 0x8000) != 0;
}

} // namespace

// --- CSeenEntries ---------------------------------------------------------------------------

CSeenEntries::SEEN_ENTRY CSeenEntries::Describe(const CLIP_ITEM& item) {
    const std::u16string_view text(item.strText);
    return {&item, text.size(), std::hash<std::u16string_view>{}(text), item.tmCreated};
}

CSeenEntries::CSeenEntries(CKorvexDoc& rDoc, const std::vector<int32_t>& arrIndexes)
    : m_rDoc(rDoc) {
    for (int32_t nIndex : arrIndexes) {
        if (const CLIP_ITEM* pItem = m_rDoc.FindItem(nIndex)) {
            m_arrSeen.push_back(Describe(*pItem));
        }
    }
}

std::vector<int32_t> CSeenEntries::FindNow() const {
    std::vector<int32_t> arrFound;
    const int32_t nCount = m_rDoc.GetItemCount();
    for (int32_t i = 0; i < nCount && arrFound.size() < m_arrSeen.size(); ++i) {
        const CLIP_ITEM* pItem = m_rDoc.FindItem(i);
        for (const SEEN_ENTRY& seen : m_arrSeen) {
            if (seen.pItem != pItem) {
                continue;
            }
            const SEEN_ENTRY now = Describe(*pItem);
            if (now.nLength == seen.nLength && now.nHash == seen.nHash &&
                now.tmCreated == seen.tmCreated) {
                arrFound.push_back(i);
            }
            break;
        }
    }
    return arrFound;
}

// --- CItemCommands --------------------------------------------------------------------------

CItemCommands::CItemCommands(CKorvexDoc& rDoc, IItemCommandWindow& rWindow, ItemCommandIds nIds)
    : m_rDoc(rDoc), m_rWindow(rWindow), m_nIds(nIds) {}

void CItemCommands::RegisterShortcuts() {
    for (const ITEM_COMMAND& command : ITEM_COMMANDS) {
        if (command.key.nKey != 0) {
            m_oAccelerator.AddHotkeyFunction(command.key.bCtrl, 0, command.key.bShift,
                                             command.key.nKey,
                                             static_cast<HOTKEY_FUNCTION>(command.pfn));
        }
    }
}

bool CItemCommands::PreTranslateMessage(const MSG* pMsg) {
    const auto nKey = static_cast<uint16_t>(pMsg->wParam);
    if (pMsg->message == WM_KEYDOWN && m_oAccelerator.CallFunction(this, nKey)) {
        return true;
    }
    // The context menu from the keyboard: the Menu key, or Shift+F10 (a system key: F10 is the
    // menu bar's key).
    const bool bKeyDown = pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN;
    if (bKeyDown && (nKey == VK_APPS || (nKey == VK_F10 && IsKeyDown(VK_SHIFT) &&
                                         !IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU)))) {
        ShowContextMenuAtSelection();
        return true;
    }
    return false;
}

bool CItemCommands::OnCommand(UINT nId) {
    const bool bEdit = m_nIds == ItemCommandIds::EditAndContext;
    const ITEM_COMMAND* pCommand = FindCommand(nId, bEdit, true);
    if (pCommand == nullptr) {
        return false;
    }
    (this->*pCommand->pfn)();
    return true;
}

bool CItemCommands::OnUpdateCommand(UINT nId, CCmdUI& ui) {
    const bool bEdit = m_nIds == ItemCommandIds::EditAndContext;
    const ITEM_COMMAND* pCommand = FindCommand(nId, bEdit, false);
    if (pCommand == nullptr) {
        return false;
    }
    ui.Enable(IsEnabledFor(pCommand->nNeeds, GetSelectedCount()));
    return true;
}

bool CItemCommands::OnListNotify(const NMHDR* pnm, LRESULT* pResult, int nBookmarkColumn) {
    switch (pnm->code) {
    case NM_CLICK: {
        *pResult = 0;
        // A click on the column with the bookmark image toggles the bookmark.
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(m_rWindow.GetListHwnd(), &pt);
        int nSubItem = -1;
        const int nRow = List().SubItemHitTest(pt, &nSubItem);
        if (nRow >= 0 && nSubItem == nBookmarkColumn && m_rWindow.EntryOfRow(nRow) >= 0) {
            m_rDoc.ToggleBookmark(m_rWindow.EntryOfRow(nRow));
        }
        return true;
    }
    case NM_RCLICK: {
        *pResult = 0;
        POINT pt{};
        GetCursorPos(&pt);
        ShowContextMenu(pt);
        return true;
    }
    case LVN_ITEMACTIVATE:
        *pResult = 0;
        OnActivate();
        return true;
    default:
        return false;
    }
}

void CItemCommands::ShowContextMenu(POINT ptScreen) {
    const int nSelected = GetSelectedCount();
    const int nPopup = nSelected == 0   ? CONTEXT_POPUP_NOSELECTEDITEM
                       : nSelected == 1 ? CONTEXT_POPUP_ITEM
                                        : CONTEXT_POPUP_MULTIITEM;
    // The menu's loop dispatches our messages while the window's handler waits for it: it
    // counts as modal, so that work deferred until no modal loop runs (Exit, the release of the
    // small clip window) waits for the menu to close.
    const CModalScope modal;
    ShowPopupMenu(IDR_CONTEXTMENU, nPopup, ptScreen, m_rWindow.GetCommandHwnd());
}

void CItemCommands::ShowContextMenuAtSelection() {
    const HWND hList = m_rWindow.GetListHwnd();
    CListCtrl list = List();
    int nRow = GetOneSelectedRow();
    if (nRow < 0 && list.GetSelectedCount() > 0) {
        nRow = list.GetSelectedItems().front();
    }
    POINT pt{0, 0};
    RECT rc{};
    if (nRow >= 0) {
        list.EnsureVisible(nRow, false);
        if (list.GetItemRect(nRow, rc, LVIR_BOUNDS)) {
            pt = {std::max<LONG>(rc.left, 0) + 8, rc.bottom};
        }
    }
    ClientToScreen(hList, &pt);
    ShowContextMenu(pt);
}

// --- Selection helpers ----------------------------------------------------------------------

int CItemCommands::GetOneSelectedRow() const {
    CListCtrl list = List();
    if (list.GetSelectedCount() != 1) {
        return -1;
    }
    const int nMark = list.GetSelectionMark();
    if (nMark >= 0 && (list.GetItemState(nMark, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
        return nMark;
    }
    const std::vector<int> arrSelected = list.GetSelectedItems();
    return arrSelected.empty() ? -1 : arrSelected.front();
}

int32_t CItemCommands::GetOneSelectedEntry() const {
    const int nRow = GetOneSelectedRow();
    return nRow < 0 ? -1 : m_rWindow.EntryOfRow(nRow);
}

std::vector<int32_t> CItemCommands::GetSelectedIndexes() const {
    std::vector<int32_t> arrIndexes;
    for (const int nRow : List().GetSelectedItems()) {
        if (const int32_t nEntry = m_rWindow.EntryOfRow(nRow); nEntry >= 0) {
            arrIndexes.push_back(nEntry);
        }
    }
    std::sort(arrIndexes.begin(), arrIndexes.end());
    return arrIndexes;
}

void CItemCommands::ClearMarkRow() {
    CListCtrl list = List();
    const int nMark = list.GetSelectionMark();
    if (nMark >= 0) {
        list.SetItemState(nMark, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void CItemCommands::SelectRow(int nRow) {
    CListCtrl list = List();
    list.EnsureVisible(nRow, false);
    list.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetSelectionMark(nRow);
}

void CItemCommands::ForSelection(
    const std::function<void(int32_t)>& fnOne,
    const std::function<void(const std::vector<int32_t>&)>& fnSeveral) {
    const int nSelected = GetSelectedCount();
    if (nSelected == 1) {
        const int32_t nEntry = GetOneSelectedEntry();
        if (nEntry >= 0) {
            fnOne(nEntry);
        }
    } else if (nSelected > 1) {
        fnSeveral(GetSelectedIndexes());
    }
}

int CItemCommands::AskModal(const wchar_t* pszText, UINT nFlags) {
    const HWND hList = m_rWindow.GetListHwnd();
    return RunModal([&] { return KorvexMessageBox(hList, pszText, nFlags); });
}

void CItemCommands::Navigate(NavigationOrder nOrder,
                             const std::function<int32_t(int32_t nStart)>& fnFind) {
    const int nSelected = GetSelectedCount();
    if (nSelected > 1) {
        return;
    }
    const int32_t nStart = nSelected == 0 ? -1 : GetOneSelectedEntry();
    if (nOrder == NavigationOrder::ClearBeforeAsking) {
        ClearMarkRow();
    }
    // The first hit that the list shows; a search that wraps comes back to a hit seen already.
    int32_t nFound = fnFind(nStart);
    const int32_t nFirst = nFound;
    for (int32_t nTries = m_rDoc.GetItemCount(); nFound >= 0 && m_rWindow.RowOfEntry(nFound) < 0;
         --nTries) {
        nFound = nTries > 0 ? fnFind(nFound) : -1;
        if (nFound == nFirst) {
            nFound = -1;
        }
    }
    if (nFound < 0) {
        return;
    }
    if (nOrder == NavigationOrder::ClearAfterFound) {
        ClearMarkRow();
    }
    SelectRow(m_rWindow.RowOfEntry(nFound));
}

// --- The commands ---------------------------------------------------------------------------

void CItemCommands::OnActivate() {
    const int nSelected = GetSelectedCount();
    if (nSelected == 1) {
        const int32_t nEntry = GetOneSelectedEntry();
        if (nEntry < 0) {
            return;
        }
        m_rDoc.ActivateItem(nEntry);
    } else if (nSelected > 1) {
        m_rDoc.ActivateItems(GetSelectedIndexes());
    } else {
        return;
    }
    m_rWindow.AfterActivate(); // last: the small clip window is gone after it
}

void CItemCommands::OnPreview() {
    const CLIP_ITEM* pItem = m_rDoc.FindItem(GetOneSelectedEntry());
    if (pItem == nullptr) {
        return;
    }
    CViewItemDlg dlg(CViewItemDlg::MODE_PREVIEW, pItem);
    RunModal([&] { return dlg.DoModal(); });
}

void CItemCommands::OnEdit() {
    const int32_t nEntry = GetOneSelectedEntry();
    if (nEntry < 0) {
        return;
    }
    const INT_PTR nResult = EditHistoryItem(m_rDoc, nEntry, nullptr, [this](CViewItemDlg& dlg) {
        return RunModal([&] { return dlg.DoModal(); });
    });
    if (nResult == CViewItemDlg::RESULT_APPEND) {
        m_rWindow.AfterAppend(); // last: the small clip window is gone after it
    }
}

void CItemCommands::OnFind() {
    CFindDlg dlg(&m_rDoc.GetFindCriteria());
    const INT_PTR nResult = RunModal([&] { return dlg.DoModal(); });
    if (nResult == CFindDlg::RESULT_FIND_NEXT) {
        OnFindNext();
    } else if (nResult == CFindDlg::RESULT_BOOKMARK_ALL) {
        // Of the rows shown: a filter hides the others.
        m_rDoc.BookmarkAll([this](int32_t nEntry) { return m_rWindow.RowOfEntry(nEntry) >= 0; });
    }
}

void CItemCommands::OnFindNext() {
    Navigate(NavigationOrder::ClearBeforeAsking,
             [this](int32_t nStart) { return m_rDoc.FindNext(nStart, true); });
}

void CItemCommands::OnFindPrev() {
    Navigate(NavigationOrder::ClearBeforeAsking,
             [this](int32_t nStart) { return m_rDoc.FindPrev(nStart); });
}

void CItemCommands::OnRevertFirstItems() {
    m_rDoc.RevertFirstItems();
}

void CItemCommands::OnBookmarkItem() {
    if (const int32_t nEntry = GetOneSelectedEntry(); nEntry >= 0) {
        m_rDoc.ToggleBookmark(nEntry);
    }
}

void CItemCommands::OnNextBookmark() {
    Navigate(NavigationOrder::ClearAfterFound,
             [this](int32_t nStart) { return m_rDoc.FindNextBookmark(nStart); });
}

void CItemCommands::OnPrevBookmark() {
    Navigate(NavigationOrder::ClearAfterFound,
             [this](int32_t nStart) { return m_rDoc.FindPrevBookmark(nStart); });
}

void CItemCommands::OnClearBookmarks() {
    if (AskModal(L"Are you sure you want to clear all bookmarks?", MB_YESNO | MB_ICONQUESTION) ==
        IDYES) {
        m_rDoc.ClearBookmarks();
    }
}

void CItemCommands::OnRemove() {
    const int nSelected = GetSelectedCount();
    if (nSelected == 0) {
        return;
    }
    // The entries the user sees selected now are the ones a Yes removes, wherever copies made
    // while the question is open have moved them.
    const CSeenEntries seen(m_rDoc, nSelected == 1 ? std::vector<int32_t>{GetOneSelectedEntry()}
                                                   : GetSelectedIndexes());
    const wchar_t* pszQuestion = nSelected == 1 ? L"Are you sure you want to remove this item?"
                                                : L"Are you sure you want to remove this items?";
    if (AskModal(pszQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    const std::vector<int32_t> arrIndexes = seen.FindNow();
    if (arrIndexes.size() == 1) {
        m_rDoc.RemoveItem(arrIndexes.front());
    } else if (arrIndexes.size() > 1) {
        m_rDoc.RemoveItems(arrIndexes);
    }
}

void CItemCommands::OnInvertItems() {
    const std::vector<int32_t> arrIndexes = GetSelectedIndexes();
    if (arrIndexes.size() < 2) {
        return;
    }
    if (!IsContiguous(arrIndexes)) {
        AskModal(L"You have to select contiguous items.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_rDoc.InvertItems(arrIndexes);
}

void CItemCommands::OnInvertAndActivateItems() {
    if (GetSelectedCount() < 2) {
        return;
    }
    OnInvertItems();
    OnActivate();
}

void CItemCommands::OnMakeObject() {
    if (const int32_t nEntry = GetOneSelectedEntry(); nEntry >= 0) {
        m_rDoc.MakeObject(nEntry, false);
    }
}

void CItemCommands::OnConvertFromId() {
    ForSelection([this](int32_t nRow) { m_rDoc.ConvertFromId(nRow, false); },
                 [this](const std::vector<int32_t>& arr) { m_rDoc.ConvertItemsFromId(arr); });
}

void CItemCommands::OnConvertToId() {
    ForSelection([this](int32_t nRow) { m_rDoc.ConvertToId(nRow, false); },
                 [this](const std::vector<int32_t>& arr) { m_rDoc.ConvertItemsToId(arr); });
}

void CItemCommands::ChangeCase(int32_t nMode) {
    ForSelection(
        [this, nMode](int32_t nRow) { m_rDoc.ChangeCase(nRow, nMode, false); },
        [this, nMode](const std::vector<int32_t>& arr) { m_rDoc.ChangeItemsCase(arr, nMode); });
}

void CItemCommands::OnLowercase() {
    ChangeCase(kCaseLower);
}

void CItemCommands::OnUppercase() {
    ChangeCase(kCaseUpper);
}

void CItemCommands::OnTitle() {
    ChangeCase(kCaseTitle);
}

void CItemCommands::OnSelectAll() {
    List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

void CItemCommands::OnDateTime(const char* pszPattern) {
    m_rDoc.CopyDateTime(pszPattern);
    m_rWindow.AfterAppend(); // last: the small clip window is gone after it
}
