// The clip item's time text, the owning containers and the re-entry flag guard. (The containers'
// match walks: the search's tests.)

#include "history/ClipItem.h"
#include "history/FlagGuard.h"
#include "history/SmartTypedPtrArray.h"
#include "history/SmartTypedPtrList.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <limits>

namespace {

struct CCounted {
    static inline int nAlive = 0;
    int nValue;
    explicit CCounted(int n = 0) : nValue(n) { ++nAlive; }
    CCounted(const CCounted& o) : nValue(o.nValue) { ++nAlive; }
    ~CCounted() { --nAlive; }
};

} // namespace

TEST(ClipItem, CreatedTimeTextIsLocalInTheListPatternOrEmpty) {
    std::tm tmLocal{};
    tmLocal.tm_year = 2021 - 1900;
    tmLocal.tm_mon = 2;
    tmLocal.tm_mday = 4;
    tmLocal.tm_hour = 5;
    tmLocal.tm_min = 6;
    tmLocal.tm_sec = 7;
    tmLocal.tm_isdst = -1;
    CLIP_ITEM oItem(u"x");
    oItem.tmCreated = std::mktime(&tmLocal);
    EXPECT_EQ(oItem.GetCreatedTimeText(), u"2021.03.04 05:06:07");
    EXPECT_EQ(FormatLocalTime(std::numeric_limits<int64_t>::max(), kCreatedTimePattern), u"");
}

TEST(FlagGuard, SetsTheFlagForItsScopeAndAnInnerGuardLeavesTheOuterOneSet) {
    bool bFlag = false;
    {
        const CFlagGuard oOuter(bFlag);
        {
            const CFlagGuard oInner(bFlag); // re-entered while the outer scope runs
        }
        EXPECT_TRUE(bFlag);
    }
    EXPECT_FALSE(bFlag);
}

TEST(SmartContainers, OwnTheirElementsUnlessToldNot) {
    CCounted oKept(7);
    {
        CSmartTypedPtrList<CCounted> lst;
        for (int i = 0; i < 4; ++i) {
            lst.AddTail(new CCounted(i));
        }
        lst.DeleteTail();
        lst.DeleteAt(lst.GetHeadPosition());
        EXPECT_EQ(lst.GetAt(0)->nValue, 1);
        delete lst.RemoveAt(lst.FindIndex(1)); // unlinked, not deleted
        CSmartTypedPtrArray<CCounted> arrSource, arrCopies, arrBorrowed(0);
        for (int n : {3, 1, 2}) {
            arrSource.NewElement()->nValue = n;
        }
        arrCopies.AppendCopies(arrSource);
        EXPECT_NE(arrCopies[0], arrSource[0]);
        int nDescending = -1;
        arrCopies.SetSortFunction([](void* pContext, CCounted* p1, CCounted* p2) {
            return (p1->nValue - p2->nValue) * *static_cast<int*>(pContext);
        });
        arrCopies.m_pSortContext = &nDescending;
        arrCopies.Sort();
        EXPECT_EQ(arrCopies[0]->nValue, 3);
        EXPECT_EQ(arrCopies[2]->nValue, 1);
        arrCopies.DeleteAt(0);
        arrBorrowed.Add(&oKept);
        EXPECT_EQ(CCounted::nAlive, 1 + 1 + 3 + 2);
    }
    EXPECT_EQ(CCounted::nAlive, 1);
}

TEST(SmartContainers, IndexOutOfRangeIsRefusedWithInvalidArgException) {
    CSmartTypedPtrList<CCounted> lst, lstEmpty;
    CSmartTypedPtrArray<CCounted> arr;
    const std::pair<const char*, std::function<void()>> aRefused[] = {
        {"list DeleteTail when empty", [&] { lstEmpty.DeleteTail(); }},
        {"list GetAt(-1)", [&] { lst.GetAt(-1); }},
        {"list GetAt(count)", [&] { lst.GetAt(1); }},
        {"list DeleteAt(null position)", [&] { lst.DeleteAt(lst.FindIndex(1)); }},
        {"array GetAt(-1)", [&] { arr.GetAt(-1); }},
        {"array DeleteAt(count)", [&] { arr.DeleteAt(1); }},
        {"array AppendCopies of itself", [&] { arr.AppendCopies(arr); }},
    };
    lst.AddTail(new CCounted(1));
    arr.NewElement();
    for (const auto& [pszCase, fn] : aRefused) {
        EXPECT_THROW(fn(), CInvalidArgException) << pszCase;
    }
    EXPECT_EQ(lst.GetCount(), 1);
    EXPECT_EQ(arr.GetSize(), 1);
}
