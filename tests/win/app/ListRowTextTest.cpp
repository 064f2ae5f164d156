// What a history row shows: its number, and its text on one line, cut before it is escaped.

#include <gtest/gtest.h>

#include <string>

#include "views/ListRowText.h"

TEST(ListRowText, TextIsCutToTwoHundredCharactersThenEscaped) {
    std::wstring strTabs;
    for (int i = 0; i < 200; ++i) {
        strTabs += L"<TAB>";
    }
    const struct {
        std::u16string strText;
        std::wstring strShown;
    } arrCases[] = {
        {std::u16string(300, u'x'), std::wstring(200, L'x')},
        {std::u16string(201, u'\t'), strTabs}, // 200 tabs show as 1000 characters
        // A character of two units is not cut in half.
        {std::u16string(199, u'x') + u"\U0001F600", std::wstring(199, L'x')},
    };
    for (const auto& oCase : arrCases) {
        EXPECT_EQ(MakeListRowText(0, CLIP_ITEM(oCase.strText)).strText, oCase.strShown);
    }
}

TEST(ListRowText, NumberCountsFromOne) { // (the time text: the clip item's tests)
    EXPECT_EQ(MakeListRowText(41, CLIP_ITEM(u"text")).strNumber, L"42");
    EXPECT_EQ(MakeListRowText(0, CLIP_ITEM(u"text")).strNumber, L"1");
}
