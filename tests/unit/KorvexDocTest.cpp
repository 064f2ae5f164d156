// The history document's entry operations, notifications, bookmarks, search and transformations.

#include "FakePorts.h"

using KorvexDoc = DocTest;

TEST_F(KorvexDoc, TrimsAtTheBoundZeroAndNegativeIncluded) {
    m_oSettings.nBufferSize = 2;
    Reset({u"A", u"B", u"C"});
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"A", u"B"}));
    m_oSettings.nBufferSize = 1; // a smaller bound trims at once
    m_pDoc->LoadSettings();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"A"}));
    for (const int32_t nBound : {0, -5}) {
        m_oSettings.nBufferSize = nBound;
        m_pDoc->LoadSettings();
        m_oRecorder.arrHints.clear();
        m_pDoc->AddItem(u"D"); // inserted and at once trimmed again; the views still hear of it
        EXPECT_EQ(m_pDoc->GetItemCount(), 0);
        EXPECT_EQ(m_oRecorder.arrHints, (Hints{0}));
    }
}

TEST_F(KorvexDoc, ActivationMovesTheEntryAndConsumesExactlyOneNotification) {
    Reset({u"A", u"B", u"C"});
    m_pDoc->GetItemOrThrow(2)->tmCreated = 42;
    EXPECT_TRUE(m_pDoc->ActivateItem(2));
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"C"}));
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"A", u"B"}));
    EXPECT_EQ(m_pDoc->GetItemOrThrow(0)->tmCreated, 42); // moved, not copied
    Notify();
    Notify();
    EXPECT_EQ(m_pDoc->GetItemCount(), 3);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0}));
    m_oClipboard.CopyFromOtherProgram(u"C"); // the next copy, even of the same text, is recorded
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"C", u"A", u"B"}));
    EXPECT_TRUE(m_pDoc->ActivateItem(4)); // out of range: nothing
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 1u);
}

TEST_F(KorvexDoc, JoinedActivationAddsOneEntry) {
    Reset({u"A", u"B", u"C"});
    EXPECT_TRUE(m_pDoc->ActivateItems({0, 2}));
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"A\r\nC"}));
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"A\r\nC", u"A", u"B", u"C"}));
    EXPECT_THROW(m_pDoc->ActivateItems({1, 9}), CInvalidArgException);
}

TEST_F(KorvexDoc, InvertAtTheHeadActivatesAndInTheMiddleDoesNot) {
    Reset({u"A", u"B", u"C", u"D"});
    m_pDoc->InvertItems({0, 1, 2});
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"B", u"A", u"D"}));
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"C"}));
    Notify();
    m_pDoc->InvertItems({1, 2});
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"A", u"B", u"D"}));
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 1u);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0, 0}));
    EXPECT_THROW(m_pDoc->InvertItems({1, 3}), CInvalidArgException); // not contiguous
    EXPECT_THROW(m_pDoc->InvertItems({2}), CInvalidArgException);
}

TEST_F(KorvexDoc, RemoveAtTheHeadReactivatesAndReplaceAtTheHeadActivates) {
    Reset({u"A", u"B", u"C", u"D"});
    m_pDoc->RemoveItem(0); // the new head goes to the clipboard, not into the history again
    Notify();
    m_pDoc->RemoveItems({2, 0, 2}); // any order, each entry once
    Notify();
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"B", u"C"}));
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C"}));
    m_pDoc->RemoveItem(0); // the last entry: the clipboard is left alone
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 2u);
    EXPECT_THROW(m_pDoc->RemoveItem(0), CInvalidArgException);

    Reset({u"A", u"B", u"C"});
    m_pDoc->ReplaceItemText(2, u"c2");
    m_pDoc->ReplaceItemText(0, u"a2");
    Notify();
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"a2"}));
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"a2", u"B", u"c2"}));
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{3, 0}));
}

TEST_F(KorvexDoc, IndexOutOfRangeIsRefusedWithInvalidArgException) {
    Reset({u"A", u"B", u"C"});
    EXPECT_THROW(m_pDoc->GetItemOrThrow(3), CInvalidArgException);
    EXPECT_THROW(m_pDoc->GetItemOrThrow(-1), CInvalidArgException);
    EXPECT_EQ(m_pDoc->FindItem(3), nullptr);
    EXPECT_THROW(m_pDoc->RemoveItems({1, 3}), CInvalidArgException);
    EXPECT_THROW(m_pDoc->ConvertToId(3, false), CInvalidArgException);
    EXPECT_THROW(m_pDoc->ChangeItemsCase({0, 3}, kCaseLower), CInvalidArgException);
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"A", u"B", u"C"}));
}

TEST_F(KorvexDoc, StructuralChangeWithAFailedActivationStillRefreshesTheViews) {
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
    CHintRecorder oView, oPoster;
    oView.fnAlso = [&](int32_t nHint) { arrLog.push_back("view:" + std::to_string(nHint)); };
    oPoster.fnAlso = [&](int32_t nHint) { arrLog.push_back("post:" + std::to_string(nHint)); };
    m_pDoc->AddObserver(&oView);
    m_pDoc->AddObserver(&oPoster);
    m_pDoc->AddItem(u"A");
    m_pDoc->ToggleBookmark(0);
    m_pDoc->RemoveObserver(&oView);
    m_pDoc->NotifyItemChanged(HistoryHint::WholeList());
    EXPECT_EQ(arrLog, (std::vector<std::string>{"view:0", "post:0", "view:1", "post:1", "post:0"}));
    m_pDoc->RemoveObserver(&oPoster);
}

TEST(HistoryHint, AMessageNumberThatIsNoEntryIndexPlusOneMeansTheWholeList) {
    const std::pair<uintptr_t, int32_t> aCases[] = {
        {0, -1},
        {1, 0},
        {uintptr_t{INT32_MAX}, INT32_MAX - 1},
        {uintptr_t{INT32_MAX} + 1, -1},
        {static_cast<uintptr_t>(-5), -1}, // a negative number posted by another process
    };
    for (const auto& [nParam, nIndex] : aCases) {
        const HistoryHint oHint = HistoryHint::FromMessageParam(nParam);
        EXPECT_EQ(oHint.GetIndex(), nIndex) << nParam;
        EXPECT_EQ(oHint.IsWholeList() ? 0 : nParam, oHint.ToMessageParam()) << nParam;
    }
    EXPECT_EQ(HistoryHint::Entry(-3), HistoryHint::WholeList());
}

TEST_F(KorvexDoc, BookmarkNavigationWrapsAround) {
    Reset({u"0", u"1", u"2", u"3", u"4"});
    EXPECT_EQ(m_pDoc->FindNextBookmark(-1), -1);
    m_pDoc->ToggleBookmark(2);
    EXPECT_EQ(m_pDoc->FindNextBookmark(2), 2); // the only one is found again
    EXPECT_EQ(m_pDoc->FindPrevBookmark(2), 2);
    m_pDoc->SetBookmark(4, true);
    m_pDoc->ToggleBookmark(2);
    m_pDoc->SetBookmark(1, true);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{3, 5, 3, 2}));
    const std::pair<int32_t, int32_t> aNext[] = {{-1, 1}, {0, 1}, {1, 4}, {4, 1}};
    const std::pair<int32_t, int32_t> aPrev[] = {{-1, 4}, {4, 1}, {1, 4}};
    for (const auto& [nFrom, nFound] : aNext) {
        EXPECT_EQ(m_pDoc->FindNextBookmark(nFrom), nFound) << "next from " << nFrom;
    }
    for (const auto& [nFrom, nFound] : aPrev) {
        EXPECT_EQ(m_pDoc->FindPrevBookmark(nFrom), nFound) << "previous from " << nFrom;
    }
    m_pDoc->ClearBookmarks();
    EXPECT_EQ(m_pDoc->FindPrevBookmark(0), -1);
}

TEST_F(KorvexDoc, FindNextAndPreviousWrapAndBookmarkAll) {
    Reset({u"x cat", u"dog", u"cat", u"bird"});
    EXPECT_EQ(m_pDoc->FindNext(-1, true), -1); // empty criteria find nothing
    m_pDoc->GetFindCriteria().strText = u"CAT";
    const struct {
        int32_t nFrom;
        bool bWrap;
        int32_t nNext;
    } aNext[] = {{-1, true, 0}, {0, true, 2}, {2, true, 0}, {2, false, -1}, {3, true, 0}};
    for (const auto& c : aNext) {
        EXPECT_EQ(m_pDoc->FindNext(c.nFrom, c.bWrap), c.nNext) << c.nFrom << " wrap " << c.bWrap;
    }
    const std::pair<int32_t, int32_t> aPrev[] = {{-1, 2}, {2, 0}, {1, 0}, {0, 2}};
    for (const auto& [nFrom, nFound] : aPrev) {
        EXPECT_EQ(m_pDoc->FindPrev(nFrom), nFound) << "previous from " << nFrom;
    }
    m_pDoc->GetFindCriteria().bMatchCase = true;
    EXPECT_EQ(m_pDoc->FindNext(-1, true), -1);
    m_pDoc->GetFindCriteria() = {u"cat", false, true};
    m_pDoc->GetItemOrThrow(0)->strText = u"concatenate cat"; // the first occurrence is no word
    EXPECT_EQ(m_pDoc->FindNext(2, true), 2);                 // the only match is found again
    m_pDoc->GetItemOrThrow(3)->bBookmark = true;
    m_pDoc->BookmarkAll();
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{3})); // only the entry that changed
    EXPECT_EQ(m_pDoc->FindNextBookmark(-1), 2);
}

TEST_F(KorvexDoc, OneTransformationGoesToTheClipboardSeveralChangeTheEntries) {
    Reset({u"CFindDlg", u"", u"my_id"});
    m_pDoc->MakeObject(1, false); // an empty entry: nothing at all
    m_pDoc->MakeObject(0, false);
    m_pDoc->ConvertFromId(2, false);
    m_pDoc->ChangeCase(0, kCaseUpper, false);
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"oFindDlg", u"MyId", u"CFINDDLG"}));
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"CFindDlg", u"", u"my_id"}));
    m_oClipboard.arrWrites.clear();
    m_pDoc->ConvertItemsFromId({1, 2});
    EXPECT_TRUE(m_oClipboard.arrWrites.empty());
    m_pDoc->ConvertItemsToId({0, 2}); // the head is replaced as an activation
    EXPECT_EQ(m_oClipboard.arrWrites, (Texts{u"C_FIND_DLG"}));
    m_pDoc->ChangeItemsCase({0, 2}, kCaseLower);
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"c_find_dlg", u"", u"my_id"}));
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{2, 3, 0, 3, 0, 3}));
}

TEST_F(KorvexDoc, DateTimeGoesToTheClipboardAndClearListEmptiesTheHistory) {
    Reset({u"A", u"B"});
    m_pDoc->CopyDateTime("%Y%m%d%H%M%S");
    ASSERT_EQ(m_oClipboard.arrWrites.size(), 1u);
    EXPECT_EQ(m_oClipboard.arrWrites[0].size(), 14u);
    Notify();
    EXPECT_EQ(m_pDoc->GetItemOrThrow(0)->strText, m_oClipboard.arrWrites[0]);
    m_pDoc->ClearList();
    EXPECT_EQ(m_pDoc->GetItemCount(), 0);
    EXPECT_EQ(m_oClipboard.arrWrites.size(), 1u);
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0, 0}));
}

TEST_F(KorvexDoc, LoadedEntriesComeWithinTheBoundAndForgettingSparesBookmarks) {
    int64_t tmNow = 1000;
    m_pDoc->SetClock([&] { return tmNow; });
    m_oSettings.nBufferSize = 4;
    m_pDoc->LoadSettings();
    std::vector<CLIP_ITEM> arrLoaded(5);
    for (int i = 0; i < 5; ++i) {
        arrLoaded[i].strText = std::u16string(1, static_cast<char16_t>(u'A' + i));
        arrLoaded[i].tmCreated = 900 - 100 * i; // head first: newest first
    }
    arrLoaded[1].bBookmark = true;
    m_pDoc->AddItem(u"N"); // recorded while the file was read; stamped by the clock
    m_oRecorder.arrHints.clear();
    m_pDoc->TakeLoadedEntries(std::move(arrLoaded));
    // The newest loaded ones, in their order, behind the one recorded already.
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"N", u"A", u"B", u"C"}));
    EXPECT_EQ(m_pDoc->GetItemOrThrow(3)->tmCreated, 700);
    EXPECT_EQ(m_pDoc->GetItemOrThrow(0)->tmCreated, 1000);
    EXPECT_TRUE(m_oClipboard.arrWrites.empty());
    EXPECT_EQ(m_oRecorder.arrHints, (Hints{0}));
    // Older than 150 s: C (300 s) goes, A (100 s) and N stay, B is bookmarked.
    EXPECT_EQ(m_pDoc->ForgetUnbookmarked(150), 1);
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"N", u"A", u"B"}));
    EXPECT_EQ(m_pDoc->ForgetUnbookmarked(100), 0); // exactly 100 s old is not older
    tmNow = INT64_MIN;                             // a clock set far back forgets nothing
    EXPECT_EQ(m_pDoc->ForgetUnbookmarked(0), 0);
    tmNow = INT64_MAX;
    EXPECT_EQ(m_pDoc->ForgetUnbookmarked(0), 2);
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"B"}));
    EXPECT_TRUE(m_oClipboard.arrWrites.empty());
}
