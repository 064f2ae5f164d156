// What a history row shows: number, text on one line, creation time.

#include <gtest/gtest.h>

#include <ctime>
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
        {u"a\tb\r\n", L"a<TAB>b<CR><LF>"},
        {std::u16string(300, u'x'), std::wstring(200, L'x')},
        {std::u16string(201, u'\t'), strTabs}, // 200 tabs show as 1000 characters
        // A character of two units is not cut in half.
        {std::u16string(199, u'x') + u"\U0001F600", std::wstring(199, L'x')},
    };
    for (const auto& oCase : arrCases) {
        EXPECT_EQ(MakeListRowText(0, CLIP_ITEM(oCase.strText)).strText, oCase.strShown);
    }
}

TEST(ListRowText, NumberCountsFromOneAndTimeIsLocal) {
    CLIP_ITEM oItem(u"text");
    std::tm tmLocal{};
    tmLocal.tm_year = 2021 - 1900;
    tmLocal.tm_mon = 2;
    tmLocal.tm_mday = 4;
    tmLocal.tm_hour = 5;
    tmLocal.tm_min = 6;
    tmLocal.tm_sec = 7;
    tmLocal.tm_isdst = -1;
    oItem.tmCreated = std::mktime(&tmLocal);
    const LIST_ROW_TEXT oRow = MakeListRowText(41, oItem);
    EXPECT_EQ(oRow.strNumber, L"42");
    EXPECT_EQ(oRow.strCreated, L"2021.03.04 05:06:07");
    EXPECT_EQ(MakeListRowText(0, oItem).strNumber, L"1");
}
