// The history document's entry operations, notifications, bookmarks, search and transformations.

#include "FakePorts.h"

#include <gtest/gtest.h>

#include <memory>

using Texts = std::vector<std::u16string>;
using Hints = std::vector<int32_t>;

class KorvexDoc : public ::testing::Test {
protected:
    void SetUp() override { Reset({}); }
    // A fresh document holding arrTexts (head first), with the recorder's hints cleared.
    void Reset(const Texts& arrTexts) {
        m_pDoc = std::make_unique<CTestDoc>(m_oClipboard, m_oSettings);
        m_pDoc->AddObserver(&m_oRecorder);
        m_pDoc->Fill(arrTexts);
        m_oRecorder.arrHints.clear();
        m_oClipboard.arrWrites.clear();
    }
    // The change notification after the document's own write.
    void Notify() { EXPECT_EQ(m_pDoc->ReadClipboard(), ReadClipboardResult::Handled); }

    CFakeClipboard m_oClipboard;
    CFakeSettings m_oSettings;
    CHintRecorder m_oRecorder;
    std::unique_ptr<CTestDoc> m_pDoc;
};

TEST_F(KorvexDoc, TrimsAtTheBound) {
    m_oSettings.nBufferSize = 2;
    Reset({u"A", u"B", u"C"});
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"A", u"B"}));
    m_oSettings.nBufferSize = 1;
    m_pDoc->LoadSettings();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"A"}));
    m_oSettings.nBufferSize = 0;
    m_pDoc->LoadSettings();
    m_oRecorder.arrHints.clear();
    m_pDoc->AddItem(u"D"); // inserted and at once trimmed again; the views still hear of it
    EXPECT_EQ(m_pDoc->GetItemCount(), 0);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0}));
    m_oSettings.nBufferSize = -5;
    m_pDoc->LoadSettings();
    EXPECT_EQ(m_pDoc->m_nBufferSize, 0);
    m_pDoc->AddItem(u"E");
    EXPECT_EQ(m_pDoc->GetItemCount(), 0);
    m_oSettings.nBufferSize = 200;
    m_pDoc->LoadSettings();
    m_pDoc->Fill({u"X", u"X"}); // duplicates are kept
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"X", u"X"}));
}

TEST_F(KorvexDoc, ActivationMovesTheEntryAndIsNotRecordedAgain) {
    Reset({u"A", u"B", u"C"});
    m_pDoc->GetItem(2)->tmCreated = 42;
    EXPECT_EQ(m_pDoc->ActivateItem(2), 1);
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"C"}));
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"A", u"B"}));
    EXPECT_EQ(m_pDoc->GetItem(0)->tmCreated, 42);
    Notify();
    Notify(); // a second notification of the same change
    EXPECT_EQ(m_pDoc->GetItemCount(), 3);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0}));
    m_oClipboard.CopyFromOtherProgram(u"D");
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"D", u"C", u"A", u"B"}));
    EXPECT_EQ(m_pDoc->ActivateItem(4), 1); // out of range: nothing
    EXPECT_EQ(m_pDoc->ActivateItem(-1), 1);
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 1u);
}

TEST_F(KorvexDoc, JoinedActivationAddsOneEntry) {
    Reset({u"A", u"B", u"C"});
    EXPECT_EQ(m_pDoc->ActivateItems({0, 2}), 1);
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"A\r\nC"}));
    EXPECT_EQ(m_pDoc->GetItemCount(), 3);
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"A\r\nC", u"A", u"B", u"C"}));
    m_oClipboard.queWriteResults = {ClipboardWriteStatus::FailedChanged};
    EXPECT_EQ(m_pDoc->ActivateItems({1}), 0);
    EXPECT_THROW(m_pDoc->ActivateItems({1, 9}), CInvalidArgException);
}

TEST_F(KorvexDoc, InvertAtTheHeadAndInTheMiddle) {
    Reset({u"A", u"B", u"C", u"D"});
    m_pDoc->InvertItems({0, 1, 2});
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"B", u"A", u"D"}));
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"C"}));
    Notify();
    EXPECT_EQ(m_pDoc->GetItemCount(), 4);
    m_pDoc->InvertItems({1, 2});
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"A", u"B", u"D"}));
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 1u);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0, 0}));
    EXPECT_THROW(m_pDoc->InvertItems({1, 3}), CInvalidArgException);
    EXPECT_THROW(m_pDoc->InvertItems({2}), CInvalidArgException);
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"A", u"B", u"D"}));
}

TEST_F(KorvexDoc, RemoveAndReplace) {
    Reset({u"A", u"B", u"C", u"D"});
    m_pDoc->RemoveItem(0); // the new head goes to the clipboard, not into the history again
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"B"}));
    Notify();
    m_pDoc->RemoveItems({0, 2});
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C"}));
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"B", u"C"}));
    Notify();
    m_pDoc->RemoveItem(0); // the last entry: the clipboard is left alone
    EXPECT_EQ(m_pDoc->GetItemCount(), 0);
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 2u);
    EXPECT_THROW(m_pDoc->RemoveItem(0), CInvalidArgException);
    Reset({u"A", u"B", u"C"});
    EXPECT_THROW(m_pDoc->RemoveItems({1, 3}), CInvalidArgException);
    EXPECT_EQ(m_pDoc->GetItemCount(), 3);
    EXPECT_THROW(m_pDoc->GetItem(3), CInvalidArgException);
    EXPECT_EQ(m_pDoc->FindItem(3), nullptr);
    m_pDoc->ReplaceItemText(2, u"c2");
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{3}));
    m_pDoc->ReplaceItemText(0, u"a2");
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"a2"}));
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"a2", u"B", u"c2"}));
    m_pDoc->RemoveItems({2, 1, 2}); // unordered and twice: each entry goes once
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"a2"}));
}

TEST_F(KorvexDoc, StructuralChangeWithFailedActivationStillRefreshes) {
    Reset({u"A", u"B", u"C", u"D", u"E"});
    m_oClipboard.queWriteResults = {
        ClipboardWriteStatus::FailedUnchanged, ClipboardWriteStatus::FailedChanged,
        ClipboardWriteStatus::FailedUnchanged, ClipboardWriteStatus::FailedUnchanged};
    m_pDoc->RemoveItem(0);
    m_pDoc->RemoveItems({0});
    m_pDoc->InvertItems({0, 1});
    m_pDoc->ReplaceItemText(0, u"x");
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"x", u"C", u"E"}));
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0, 0, 0, 0}));
}

TEST_F(KorvexDoc, ObserversGetHintsInTheOrderAdded) {
    std::vector<std::string> arrLog;
    CHintRecorder oView(&arrLog, "view:"), oPoster(&arrLog, "post:");
    m_pDoc->AddObserver(&oView);
    m_pDoc->AddObserver(&oPoster);
    m_pDoc->AddItem(u"A");
    m_pDoc->ToggleBookmark(0);
    m_pDoc->RemoveObserver(&oView);
    m_pDoc->NotifyItemChanged(-1);
    EXPECT_EQ(arrLog, (std::vector<std::string>{"view:0", "post:0", "view:1", "post:1", "post:0"}));
    m_pDoc->RemoveObserver(&oPoster);
}

TEST_F(KorvexDoc, BookmarkNavigationWraps) {
    Reset({u"0", u"1", u"2", u"3", u"4"});
    EXPECT_EQ(m_pDoc->FindNextBookmark(-1), -1);
    EXPECT_EQ(m_pDoc->FindPrevBookmark(-1), -1);
    m_pDoc->ToggleBookmark(2);
    EXPECT_EQ(m_pDoc->FindNextBookmark(2), 2);
    EXPECT_EQ(m_pDoc->FindPrevBookmark(2), 2);
    m_pDoc->SetBookmark(4, 1);
    m_pDoc->ToggleBookmark(2);
    m_pDoc->SetBookmark(1, 1);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{3, 5, 3, 2}));
    EXPECT_EQ(m_pDoc->FindNextBookmark(-1), 1);
    EXPECT_EQ(m_pDoc->FindNextBookmark(1), 4);
    EXPECT_EQ(m_pDoc->FindNextBookmark(4), 1);
    EXPECT_EQ(m_pDoc->FindPrevBookmark(-1), 4);
    EXPECT_EQ(m_pDoc->FindPrevBookmark(4), 1);
    EXPECT_EQ(m_pDoc->FindPrevBookmark(1), 4);
    m_pDoc->ClearBookmarks();
    EXPECT_EQ(m_pDoc->FindNextBookmark(0), -1);
}

TEST_F(KorvexDoc, FindNextAndPrevious) {
    Reset({u"x cat", u"dog", u"cat", u"bird"});
    EXPECT_EQ(m_pDoc->FindNext(-1, 1), -1); // empty criteria find nothing
    EXPECT_EQ(m_pDoc->FindPrev(-1), -1);
    m_pDoc->BookmarkAll();
    EXPECT_EQ(m_oRecorder.arrHints, Hints{});
    m_pDoc->GetFindCriteria().strText = u"CAT";
    EXPECT_EQ(m_pDoc->FindNext(-1, 1), 0);
    EXPECT_EQ(m_pDoc->FindNext(0, 1), 2);
    EXPECT_EQ(m_pDoc->FindNext(2, 1), 0);
    EXPECT_EQ(m_pDoc->FindNext(2, 0), -1);
    EXPECT_EQ(m_pDoc->FindNext(3, 1), 0);
    EXPECT_EQ(m_pDoc->FindPrev(-1), 2);
    EXPECT_EQ(m_pDoc->FindPrev(2), 0);
    EXPECT_EQ(m_pDoc->FindPrev(0), 2);
    m_pDoc->GetFindCriteria().bMatchCase = 1;
    EXPECT_EQ(m_pDoc->FindNext(-1, 1), -1);
    m_pDoc->GetFindCriteria() = {u"cat", 0, 1};
    m_pDoc->ReplaceItemText(0, u"concatenate cat");
    m_oRecorder.arrHints.clear();
    EXPECT_EQ(m_pDoc->FindNext(2, 1), 2); // the only match is found again
    m_pDoc->GetItem(3)->bBookmark = 1;
    m_pDoc->BookmarkAll();
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{3}));
    EXPECT_EQ(m_pDoc->FindNextBookmark(-1), 2);
    EXPECT_EQ(m_pDoc->FindNextBookmark(2), 3);
}

TEST_F(KorvexDoc, TransformationsGoToTheClipboardOrTheEntries) {
    Reset({u"CFindDlg", u"", u"my_id"});
    m_pDoc->MakeObject(1, 0); // an empty entry: nothing at all
    m_pDoc->MakeObject(0, 0);
    m_pDoc->ConvertToId(1, 0);
    m_pDoc->ConvertFromId(2, 0);
    m_pDoc->ChangeCase(1, kCaseTitle, 0);
    m_pDoc->ChangeCase(0, kCaseUpper, 0);
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"oFindDlg", u"", u"MyId", u"", u"CFINDDLG"}));
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"CFindDlg", u"", u"my_id"}));
    m_oClipboard.arrWrites.clear();
    m_pDoc->ConvertItemsFromId({1, 2});
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"CFindDlg", u"", u"MyId"}));
    EXPECT_TRUE(m_oClipboard.arrWrites.empty());
    m_pDoc->ConvertItemsToId({0, 2}); // the head is replaced as an activation
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C_FIND_DLG", u"", u"MY_ID"}));
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"C_FIND_DLG"}));
    m_pDoc->ChangeItemsCase({0, 2}, kCaseLower);
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"c_find_dlg", u"", u"my_id"}));
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{2, 3, 0, 3, 0, 3}));
    EXPECT_THROW(m_pDoc->ChangeItemsCase({0, 3}, kCaseLower), CInvalidArgException);
    EXPECT_THROW(m_pDoc->ConvertToId(3, 0), CInvalidArgException);
}

TEST_F(KorvexDoc, DateTimeAndClearList) {
    Reset({u"A", u"B"});
    m_pDoc->CopyDateTime("%Y%m%d%H%M%S");
    ASSERT_EQ(m_oClipboard.arrWrites.size(), 1u);
    EXPECT_EQ(m_oClipboard.arrWrites[0].size(), 14u);
    Notify();
    EXPECT_EQ(m_pDoc->GetItem(0)->strText, m_oClipboard.arrWrites[0]);
    m_pDoc->ClearList();
    EXPECT_EQ(m_pDoc->GetItemCount(), 0);
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 1u);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0, 0}));
}
