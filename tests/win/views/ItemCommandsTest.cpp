// The item commands on a real list control over a real document (with a stand-in clipboard):
// the keys reach them through PreTranslateMessage, message boxes are answered by the test.

#include "framework/MessageBox.h"
#include "res/resource.h"
#include "tests/support/win/HandlerWindow.h"
#include "tests/support/win/Keyboard.h"
#include "tests/unit/FakePorts.h"
#include "views/HistoryObserver.h"
#include "views/HistoryRows.h"
#include "views/ItemCommands.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<int>;

const Texts kAll = {u"e0", u"e1", u"e2", u"e3", u"e4", u"e5", u"e6", u"e7"};

class CTestWindow final : public IItemCommandWindow {
public:
    HWND hList = nullptr;
    int nAfterActivate = 0;
    int nAfterAppend = 0;
    bool bModalChild = false;
    HWND GetListHwnd() const override { return hList; }
    HWND GetCommandHwnd() const override { return hList; }
    void AfterActivate() override { ++nAfterActivate; }
    void AfterAppend() override { ++nAfterAppend; }
    void SetModalChild(bool bOpen) override { bModalChild = bOpen; }
};

// What the one message box of a command showed.
struct BOX_SEEN {
    std::wstring strText;
    bool bModalChild = false;
};

class ItemCommands : public ::testing::Test {
protected:
    void SetUp() override {
        s_pTest = this;
        m_pfnPreviousBox = SetMessageBoxFunction(&AnswerBox);
        m_oWindow.hList =
            CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_OWNERDATA, 0, 0, 400,
                            300, m_oParent.Handle(), nullptr, nullptr, nullptr);
        ASSERT_NE(m_oWindow.hList, nullptr);
        const LIST_COLUMN column{L"", LVCFMT_LEFT, 100};
        const LIST_COLUMN arrColumns[] = {column, column, column, column};
        List().InsertColumns(arrColumns, 96);
        ListView_SetExtendedListViewStyle(m_oWindow.hList, LVS_EX_SUBITEMIMAGES);
        m_oRows.SetList(m_oWindow.hList);
        m_oObserver.SetHandler([this](HistoryHint oHint) { m_oRows.Refresh(oHint); });
        m_oObserver.Connect(m_oDoc);
        m_oCommands.RegisterShortcuts();
        Reset();
    }
    // The history e0 (head) to e7, nothing recorded yet.
    void Reset() {
        m_oDoc.ClearList();
        for (auto it = kAll.rbegin(); it != kAll.rend(); ++it) {
            m_oDoc.AddItem(*it);
        }
        m_oClipboard.arrWrites.clear();
        m_arrBoxes.clear();
        m_fnDuringBox = nullptr;
        m_oWindow.nAfterActivate = 0;
    }
    void TearDown() override {
        m_oObserver.Disconnect();
        SetMessageBoxFunction(m_pfnPreviousBox);
        DestroyWindow(m_oWindow.hList);
        s_pTest = nullptr;
    }

    static int AnswerBox(HWND, const wchar_t* pszText, const wchar_t*, UINT) {
        s_pTest->m_arrBoxes.push_back({pszText, s_pTest->m_oWindow.bModalChild});
        if (auto fn = std::exchange(s_pTest->m_fnDuringBox, nullptr)) {
            fn();
        }
        return s_pTest->m_nAnswer;
    }

    CListCtrl List() const { return CListCtrl(m_oWindow.hList); }
    // Selects exactly these rows; the first is the selection mark.
    void Select(const Rows& rows) {
        List().SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int nRow : rows) {
            List().SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
        }
        List().SetSelectionMark(rows.empty() ? -1 : rows.front());
    }
    Rows Selected() const { return List().GetSelectedItems(); }
    // A key-down on the list with exactly these modifiers held; whether a command took it.
    bool Press(WORD nKey, std::initializer_list<BYTE> modifiers = {}) {
        wintest::CHeldKeys held(modifiers);
        MSG msg{m_oWindow.hList, WM_KEYDOWN, nKey, 0, 0, {}};
        return m_oCommands.PreTranslateMessage(&msg);
    }
    Texts DocTexts() { return m_oDoc.Texts(); }

    static inline ItemCommands* s_pTest = nullptr;
    MessageBoxFunction m_pfnPreviousBox = nullptr;
    CTestWindow m_oWindow;
    CFakeClipboard m_oClipboard;
    CFakeSettings m_oSettings;
    CTestDoc m_oDoc{m_oClipboard, m_oSettings};
    CHistoryRows m_oRows{m_oDoc, {1, 1, 2, 3}};
    CHistoryObserver m_oObserver;
    wintest::CHandlerWindow m_oParent{[this](UINT nMsg, WPARAM, LPARAM lParam) {
        LRESULT lResult = 0;
        return nMsg == WM_NOTIFY && m_oRows.OnNotify(reinterpret_cast<NMHDR*>(lParam), &lResult)
                   ? std::optional<LRESULT>(lResult)
                   : std::nullopt;
    }};
    CItemCommands m_oCommands{m_oDoc, m_oWindow, ItemCommandIds::EditAndContext};
    std::vector<BOX_SEEN> m_arrBoxes;
    std::function<void()> m_fnDuringBox;
    int m_nAnswer = IDNO;
};

constexpr wchar_t kOne[] = L"Are you sure you want to remove this item?";
constexpr wchar_t kSeveral[] = L"Are you sure you want to remove this items?";

TEST_F(ItemCommands, RemoveAsksThenRemovesTheEntriesTheUserSawWhereverCopiesMovedThem) {
    struct CASE {
        Rows rows;
        int nAnswer;
        std::function<void(CTestDoc&)> fnDuringBox;
        const wchar_t* pszQuestion;
        Texts expected;
    };
    auto copy = [](CTestDoc& doc) { doc.AddItem(u"new"); };
    const CASE cases[] = {
        {{1}, IDNO, nullptr, kOne, kAll},
        {{1, 2}, IDNO, nullptr, kSeveral, kAll},
        {{1}, IDYES, nullptr, kOne, {u"e0", u"e2", u"e3", u"e4", u"e5", u"e6", u"e7"}},
        {{1, 3}, IDYES, nullptr, kSeveral, {u"e0", u"e2", u"e4", u"e5", u"e6", u"e7"}},
        {{1}, IDYES, copy, kOne, {u"new", u"e0", u"e2", u"e3", u"e4", u"e5", u"e6", u"e7"}},
        {{1, 2},
         IDYES,
         [](CTestDoc& doc) {
             doc.AddItem(u"new");
             doc.AddItem(u"newer");
         },
         kSeveral,
         {u"newer", u"new", u"e0", u"e3", u"e4", u"e5", u"e6", u"e7"}},
        // An entry that went meanwhile is skipped; nothing else is removed in its place.
        {{1},
         IDYES,
         [](CTestDoc& doc) { doc.RemoveItem(1); },
         kOne,
         {u"e0", u"e2", u"e3", u"e4", u"e5", u"e6", u"e7"}},
    };
    for (const CASE& c : cases) {
        Reset();
        Select(c.rows);
        m_nAnswer = c.nAnswer;
        if (c.fnDuringBox) {
            m_fnDuringBox = [this, fn = c.fnDuringBox] { fn(m_oDoc); };
        }
        EXPECT_TRUE(Press(VK_DELETE));
        ASSERT_EQ(m_arrBoxes.size(), 1u);
        EXPECT_EQ(m_arrBoxes[0].strText, c.pszQuestion);
        EXPECT_TRUE(m_arrBoxes[0].bModalChild) << "the window must know its box is open";
        EXPECT_FALSE(m_oWindow.bModalChild);
        EXPECT_EQ(DocTexts(), c.expected) << "rows " << ::testing::PrintToString(c.rows);
    }
}

TEST_F(ItemCommands, InvertNeedsOneContiguousRunAndInvertAndActivateActivatesAnyway) {
    struct CASE {
        Rows rows;
        std::initializer_list<BYTE> modifiers;
        bool bRefused;
        Texts expected;
        std::vector<std::u16string> writes;
    };
    const CASE cases[] = {
        {{2, 3, 5}, {VK_CONTROL}, true, kAll, {}},
        {{4, 5, 6, 7},
         {VK_CONTROL},
         false,
         {u"e0", u"e1", u"e2", u"e3", u"e7", u"e6", u"e5", u"e4"},
         {}},
        {{4}, {VK_CONTROL}, false, kAll, {}},
        {{2, 3, 5},
         {VK_CONTROL, VK_SHIFT},
         true,
         {u"e2\r\ne3\r\ne5", u"e0", u"e1", u"e2", u"e3", u"e4", u"e5", u"e6", u"e7"},
         {u"e2\r\ne3\r\ne5"}},
    };
    for (const CASE& c : cases) {
        Reset();
        Select(c.rows);
        EXPECT_TRUE(Press('I', c.modifiers));
        if (!c.writes.empty()) {
            m_oDoc.ReadClipboard(); // the copy comes back as a new entry
        }
        EXPECT_EQ(m_arrBoxes.size(), c.bRefused ? 1u : 0u);
        if (c.bRefused) {
            EXPECT_EQ(m_arrBoxes[0].strText, L"You have to select contiguous items.");
        }
        EXPECT_EQ(DocTexts(), c.expected);
        EXPECT_EQ(m_oClipboard.arrWrites, c.writes);
        EXPECT_EQ(m_oWindow.nAfterActivate, c.writes.empty() ? 0 : 1);
    }
}

TEST_F(ItemCommands, BookmarkNavigationWrapsAndNeedsAtMostOneSelectedRow) {
    m_oDoc.SetBookmark(1, true);
    m_oDoc.SetBookmark(4, true);
    struct CASE {
        Rows before;
        std::initializer_list<BYTE> modifiers;
        Rows after;
    };
    const CASE cases[] = {
        {{}, {}, {1}},          {{1}, {}, {4}},        {{4}, {}, {1}},       {{6}, {}, {1}},
        {{1}, {VK_SHIFT}, {4}}, {{}, {VK_SHIFT}, {4}}, {{2, 5}, {}, {2, 5}},
    };
    for (const CASE& c : cases) {
        Select(c.before);
        EXPECT_TRUE(Press(VK_F2, c.modifiers));
        EXPECT_EQ(Selected(), c.after) << "from " << ::testing::PrintToString(c.before);
    }
}

TEST_F(ItemCommands, FindGoesOnFromTheOneSelectedRowAndANoHitLeavesNoneSelected) {
    m_oDoc.GetItemOrThrow(1)->strText = u"a HIT";
    m_oDoc.GetItemOrThrow(4)->strText = u"hit b";
    struct CASE {
        const char16_t* pszText;
        Rows before;
        std::initializer_list<BYTE> modifiers;
        Rows after;
    };
    const CASE cases[] = {
        {u"hit", {}, {}, {1}},        {u"hit", {}, {VK_SHIFT}, {4}},
        {u"hit", {1}, {}, {4}},       {u"hit", {4}, {VK_SHIFT}, {1}},
        {u"hit", {2, 5}, {}, {2, 5}}, {u"hit", {2, 5}, {VK_SHIFT}, {2, 5}},
        {u"zzz", {1}, {}, {}},
    };
    for (const CASE& c : cases) {
        m_oDoc.GetFindCriteria().strText = c.pszText;
        Select(c.before);
        EXPECT_TRUE(Press(VK_F3, c.modifiers));
        EXPECT_EQ(Selected(), c.after) << "from " << ::testing::PrintToString(c.before);
    }
}

TEST_F(ItemCommands, ACaseCommandCopiesOneRowAndChangesSeveralInPlace) {
    m_oDoc.AddItem(u"AbC");
    m_oDoc.AddItem(u"DeF");
    m_oClipboard.arrWrites.clear();
    Select({1});
    EXPECT_TRUE(Press('U', {VK_CONTROL}));
    EXPECT_EQ(m_oClipboard.arrWrites, (std::vector<std::u16string>{u"abc"}));
    EXPECT_EQ(DocTexts()[1], u"AbC");
    Select({0, 1});
    EXPECT_TRUE(Press('U', {VK_CONTROL}));
    EXPECT_EQ(DocTexts()[0], u"def");
    EXPECT_EQ(DocTexts()[1], u"abc");
}

TEST_F(ItemCommands, TheWindowsStepsFollowOnlyWhatActedAndEachWindowBindsItsOwnIds) {
    Select({});
    EXPECT_TRUE(Press(VK_RETURN));
    EXPECT_EQ(m_oWindow.nAfterActivate, 0);
    Select({3});
    EXPECT_TRUE(Press(VK_RETURN));
    EXPECT_EQ(m_oWindow.nAfterActivate, 1);
    EXPECT_EQ(m_oClipboard.arrWrites, (std::vector<std::u16string>{u"e3"}));

    EXPECT_TRUE(m_oCommands.OnCommand(ID_CONTEXT_DATE_1));
    EXPECT_EQ(m_oWindow.nAfterAppend, 1);
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 2u);

    CItemCommands contextOnly(m_oDoc, m_oWindow, ItemCommandIds::ContextOnly);
    EXPECT_FALSE(contextOnly.OnCommand(ID_EDIT_DATE_1));
    EXPECT_FALSE(contextOnly.OnCommand(ID_EDIT_ACTIVATE));
    EXPECT_TRUE(contextOnly.OnCommand(ID_ITEM_ACTIVATE));
    EXPECT_TRUE(m_oCommands.OnCommand(ID_EDIT_ACTIVATE));
}

TEST_F(ItemCommands, AnEditItemIsEnabledForTheSelectionsItsCommandActsOn) {
    // A command of each rule, a stamp, and whether it is enabled with 0, 1 and 2 rows selected.
    const std::pair<UINT, std::array<bool, 3>> cases[] = {{ID_EDIT_PREVIEW, {false, true, false}},
                                                          {ID_EDIT_REMOVE, {false, true, true}},
                                                          {ID_EDIT_INVERT, {false, false, true}},
                                                          {ID_EDIT_FIND_NEXT, {true, true, true}},
                                                          {ID_EDIT_DATE_9, {true, true, true}}};
    const Rows selections[] = {{}, {3}, {3, 4}};
    const HMENU hMenu = CreatePopupMenu();
    CItemCommands contextOnly(m_oDoc, m_oWindow, ItemCommandIds::ContextOnly);
    for (const auto& [nId, enabled] : cases) {
        AppendMenuW(hMenu, MF_STRING | MF_GRAYED, nId, L"item");
        CCmdUI ui(hMenu, GetMenuItemCount(hMenu) - 1, nId);
        EXPECT_FALSE(contextOnly.OnUpdateCommand(nId, ui));
        for (size_t i = 0; i < std::size(selections); ++i) {
            Select(selections[i]);
            ASSERT_TRUE(m_oCommands.OnUpdateCommand(nId, ui));
            EXPECT_EQ((GetMenuState(hMenu, nId, MF_BYCOMMAND) & MF_GRAYED) == 0, enabled[i])
                << nId << " with " << i << " selected";
        }
    }
    CCmdUI ui(hMenu, 0, ID_ITEM_PREVIEW);
    EXPECT_FALSE(m_oCommands.OnUpdateCommand(ID_ITEM_PREVIEW, ui)) << "a context menu's item";
    DestroyMenu(hMenu);
}

TEST_F(ItemCommands, RowsShowTheDocumentAfterEveryKindOfChange) {
    m_oSettings.nBufferSize = 8;
    m_oDoc.LoadSettings();
    m_oRows.SetImages(10, 11);
    // Each step, then what the rows show (the number and its image, the text) and which rows
    // stay selected.
    const struct {
        const char* pszStep;
        std::function<void()> fnStep;
        Rows selectedAfter;
    } arrSteps[] = {
        {"new head, oldest trimmed", [&] { m_oDoc.AddItem(u"new"); }, {}},
        {"activation", [&] { m_oDoc.ActivateItem(5); }, {2, 3}},
        {"bookmark", [&] { m_oDoc.SetBookmark(1, true); }, {2, 3}},
        {"removal",
         [&] {
             m_oDoc.RemoveItems({0, 7});
         },
         {}},
    };
    for (const auto& step : arrSteps) {
        Select({2, 3});
        step.fnStep();
        std::vector<std::wstring> rows;
        std::vector<std::wstring> shown;
        for (int i = 0; i < m_oDoc.GetItemCount(); ++i) {
            const CLIP_ITEM& item = *m_oDoc.GetItemOrThrow(i);
            rows.push_back(std::to_wstring(i + 1) + (item.bBookmark ? L"*" : L" ") +
                           reinterpret_cast<const wchar_t*>(item.strText.c_str()));
        }
        for (int i = 0; i < List().GetItemCount(); ++i) {
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            item.iSubItem = 1;
            ListView_GetItem(List().GetSafeHwnd(), &item);
            shown.push_back(List().GetItemText(i, 1) + (item.iImage == 11 ? L"*" : L" ") +
                            List().GetItemText(i, 2));
        }
        EXPECT_EQ(shown, rows) << step.pszStep;
        EXPECT_EQ(Selected(), step.selectedAfter) << step.pszStep;
    }
}

TEST_F(ItemCommands, AHintForARowThatIsGoneRefreshesTheWholeList) {
    // The rows as a late hint finds them: the document has lost entries since.
    m_oObserver.Disconnect();
    m_oDoc.RemoveItems({0, 1, 2});
    for (const uintptr_t nHint :
         {uintptr_t{8}, uintptr_t{6}, uintptr_t{100}, static_cast<uintptr_t>(-5)}) {
        m_oRows.Refresh(HistoryHint::FromMessageParam(nHint));
        std::vector<std::wstring> rows;
        for (int i = 0; i < List().GetItemCount(); ++i) {
            rows.push_back(List().GetItemText(i, 2));
        }
        EXPECT_EQ(rows, (std::vector<std::wstring>{L"e3", L"e4", L"e5", L"e6", L"e7"}))
            << "hint " << nHint;
    }
}

} // namespace
