// The clip item and the owning containers.

#include "history/ClipItem.h"
#include "history/SmartTypedPtrArray.h"
#include "history/SmartTypedPtrList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <limits>

namespace {

struct CCounted {
    static inline int nAlive = 0;
    int nValue;
    explicit CCounted(int n = 0) : nValue(n) { ++nAlive; }
    CCounted(const CCounted& o) : nValue(o.nValue) { ++nAlive; }
    ~CCounted() { --nAlive; }
};

int nMatchCalls = 0;
int32_t MatchValue(void* pContext, uint32_t nParam, CCounted* p) {
    ++nMatchCalls;
    return p->nValue == static_cast<int>(nParam) + *static_cast<int*>(pContext);
}

} // namespace

TEST(ClipItem, CopyKeepsCreationTimeAndBookmark) {
    const int64_t tBefore = std::time(nullptr);
    CLIP_ITEM oItem(u"text");
    EXPECT_GE(oItem.tmCreated, tBefore);
    EXPECT_LE(oItem.tmCreated, static_cast<int64_t>(std::time(nullptr)));
    oItem.tmCreated = 12345;
    oItem.bBookmark = 1;
    const CLIP_ITEM oCopy(oItem);
    EXPECT_EQ(oCopy.tmCreated, 12345);
    EXPECT_EQ(oCopy.bBookmark, 1);
    EXPECT_EQ(oCopy.strText, u"text");
}

TEST(ClipItem, CreatedTimeText) {
    CLIP_ITEM oItem;
    const std::u16string strText = oItem.GetCreatedTimeText();
    ASSERT_EQ(strText.size(), 19u); // yyyy.mm.dd HH:MM:SS
    EXPECT_EQ(strText[4], u'.');
    EXPECT_EQ(strText[10], u' ');
    EXPECT_EQ(strText[16], u':');
    EXPECT_EQ(FormatLocalTime(86400 * 400, "%Y"), u"1971");
    // A time that cannot be converted to local time shows as an empty text.
    EXPECT_EQ(FormatLocalTime(std::numeric_limits<int64_t>::max(), kCreatedTimePattern), u"");
    EXPECT_EQ(FormatLocalTime(0, nullptr), u"");
}

TEST(SmartTypedPtrList, OwnsAndDeletesItsElements) {
    {
        CSmartTypedPtrList<CCounted> lst;
        lst.DeleteAll(); // empty: nothing happens
        EXPECT_TRUE(lst.IsEmpty());
        for (int i = 0; i < 4; ++i) {
            lst.AddTail(new CCounted(i));
        }
        lst.DeleteTail();
        lst.DeleteAt(lst.GetHeadPosition());
        EXPECT_EQ(CCounted::nAlive, 2);
        EXPECT_EQ(lst.GetAt(0)->nValue, 1);
        CCounted* pTaken = lst.RemoveAt(lst.FindIndex(1)); // unlinked, not deleted
        EXPECT_EQ(CCounted::nAlive, 2);
        delete pTaken;
    }
    EXPECT_EQ(CCounted::nAlive, 0);
}

TEST(SmartTypedPtrList, RefusesBadIndexesAndPositions) {
    CSmartTypedPtrList<CCounted> lst;
    EXPECT_THROW(lst.DeleteTail(), CInvalidArgException);
    lst.AddTail(new CCounted(1));
    EXPECT_THROW(lst.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(lst.GetAt(1), CInvalidArgException);
    EXPECT_THROW(lst.DeleteAt(lst.End()), CInvalidArgException);
    EXPECT_THROW(lst.InsertAfter(lst.FindIndex(5), nullptr), std::invalid_argument);
    EXPECT_EQ(lst.GetCount(), 1);
}

TEST(SmartTypedPtrList, MatchWalksDoNotWrap) {
    CSmartTypedPtrList<CCounted> lst;
    int nOffset = 10;
    lst.SetMatchFunction(&MatchValue);
    lst.SetMatchContext(&nOffset);
    EXPECT_EQ(lst.FindLastMatch(0), -1);
    EXPECT_EQ(lst.FindFirstMatch(0), -1);
    for (int n : {10, 11, 12, 11}) {
        lst.AddTail(new CCounted(n));
    }
    nMatchCalls = 0;
    EXPECT_EQ(lst.FindMatchForward(1, 4), -1);
    EXPECT_EQ(lst.FindMatchForward(1, -1), -1);
    EXPECT_EQ(nMatchCalls, 0);
    EXPECT_EQ(lst.FindFirstMatch(1), 1);
    EXPECT_EQ(lst.FindMatchForward(1, 2), 3);
    EXPECT_EQ(lst.FindMatchForward(0, 1), -1);
    EXPECT_EQ(lst.FindLastMatch(1), 3);
    EXPECT_EQ(lst.FindMatchBackward(1, 2), 1);
    EXPECT_EQ(lst.FindMatchBackward(2, 1), -1);
    lst.AddTail(nullptr); // the walk stops at a null element
    lst.AddTail(new CCounted(13));
    EXPECT_EQ(lst.FindMatchForward(3, 0), -1);
}

namespace {

// Counts the copies made through the virtual AddCopy.
class CCountingArray : public CSmartTypedPtrArray<CCounted> {
public:
    int nCopies = 0;
    CCounted* AddCopy(const CCounted& o) override {
        ++nCopies;
        return CSmartTypedPtrArray<CCounted>::AddCopy(o);
    }
};

int32_t CompareScaled(void* pContext, CCounted* p1, CCounted* p2) {
    return (p1->nValue - p2->nValue) * *static_cast<int*>(pContext);
}

} // namespace

TEST(SmartTypedPtrArray, OwnershipCopiesAndSort) {
    CCounted oKept(7);
    {
        CSmartTypedPtrArray<CCounted> arrBorrowed(0);
        arrBorrowed.Add(&oKept); // destroying a non-owning array leaves the element alive
    }
    EXPECT_EQ(oKept.nValue, 7);
    {
        CSmartTypedPtrArray<CCounted> arrSource;
        for (int n : {3, 1, 2}) {
            arrSource.NewElement()->nValue = n;
        }
        CCountingArray arrCopies;
        arrCopies.AppendCopies(arrSource);
        EXPECT_EQ(arrCopies.nCopies, 3);
        EXPECT_NE(arrCopies[0], arrSource[0]);
        int nDescending = -1;
        arrCopies.SetSortFunction(&CompareScaled);
        arrCopies.m_pSortContext = &nDescending;
        arrCopies.Sort();
        EXPECT_EQ(arrCopies[0]->nValue, 3);
        EXPECT_EQ(arrCopies[2]->nValue, 1);
        arrCopies.DeleteAt(0);
        EXPECT_EQ(arrCopies.GetSize(), 2);
        EXPECT_EQ(arrCopies[0]->nValue, 2);
        EXPECT_THROW(arrCopies.DeleteAt(2), CInvalidArgException);
        EXPECT_THROW(arrCopies.GetAt(-1), CInvalidArgException);
        EXPECT_EQ(CCounted::nAlive, 1 + 3 + 2);
        arrSource.DeleteAll();
        EXPECT_EQ(arrSource.GetSize(), 0);
    }
    EXPECT_EQ(CCounted::nAlive, 1);
}
