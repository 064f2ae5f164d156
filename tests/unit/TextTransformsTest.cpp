// The text transformations, the display escaping and the match rule of the search.

#include "FakePorts.h"
#include "history/TextSearch.h"
#include "history/TextTransforms.h"

#include <gtest/gtest.h>

#include <utility>

using Cases = std::vector<std::pair<std::u16string, std::u16string>>;

TEST(TextTransforms, ConvertToId) {
    const Cases arrCases = {{u"myVariableName", u"MY_VARIABLE_NAME"},
                            {u"XMLParser", u"X_M_L_PARSER"},
                            {u"Find what:", u"FIND_WHAT_"},
                            {u"a - b", u"A_B"},
                            {u"value2Max", u"VALUE2_MAX"},
                            {u" - ", u"_"},
                            {u"__x__Y", u"_X_Y"},
                            {u"", u""}};
    for (const auto& [strIn, strOut] : arrCases) {
        EXPECT_EQ(ConvertToIdText(strIn), strOut) << "input: " << ::testing::PrintToString(strIn);
    }
}

TEST(TextTransforms, ConvertFromIdMakeObjectAndCase) {
    const Cases arrFromId = {{u"MY_VARIABLE_NAME", u"MyVariableName"},
                             {u"_abc", u"Abc"},
                             {u"A__B", u"AB"},
                             {u"ab_", u"Ab"},
                             {u"___", u""},
                             {u"", u""}};
    for (const auto& [strIn, strOut] : arrFromId) {
        EXPECT_EQ(ConvertFromIdText(strIn), strOut) << "input: " << ::testing::PrintToString(strIn);
    }
    EXPECT_EQ(MakeObjectText(u"CFindDlg"), u"oFindDlg");
    EXPECT_EQ(MakeObjectText(u"X"), u"o");
    EXPECT_EQ(MakeObjectText(u""), u"");
    EXPECT_EQ(ChangeCaseText(u"hello World", kCaseUpper), u"HELLO WORLD");
    EXPECT_EQ(ChangeCaseText(u"hello World", kCaseLower), u"hello world");
    EXPECT_EQ(ChangeCaseText(u"hello World", kCaseTitle), u"Hello world");
    EXPECT_EQ(ChangeCaseText(u"", kCaseTitle), u"");
    EXPECT_EQ(ChangeCaseText(u"aB", 7), u"aB");
}

TEST(TextTransforms, LettersBeyondAsciiFollowTheLocale) {
    CCaseLocale oLocale;
    ASSERT_TRUE(oLocale.IsReady()) << "no locale of this C runtime case-maps é and Σ";
    EXPECT_EQ(ChangeCaseText(u"straße é", kCaseUpper), u"STRAßE É");
    EXPECT_EQ(ChangeCaseText(u"ΑΒΓ ÉTÉ", kCaseLower), u"αβγ été");
    EXPECT_EQ(ChangeCaseText(u"éCOLE", kCaseTitle), u"École");
    EXPECT_EQ(ConvertToIdText(u"éclairΔelta"), u"ÉCLAIR_ΔELTA");
    EXPECT_EQ(ConvertFromIdText(u"ÉTÉ_ΑΒΓ"), u"ÉtéΑβγ");
    FIND_CRITERIA oCriteria{u"ΣΟΦΊΑ", 0, 1};
    EXPECT_TRUE(MatchesCriteria(u"η σοφία.", oCriteria));
    EXPECT_FALSE(MatchesCriteria(u"σοφίαé", oCriteria)); // é is a letter: no word boundary
}

TEST(TextTransforms, EscapeDisplayText) {
    std::u16string strText = u"a\tb\r\nc";
    EscapeDisplayText(strText);
    EXPECT_EQ(strText, u"a<TAB>b<CR><LF>c");
    strText = u"\n\n<TAB>";
    EscapeDisplayText(strText);
    EXPECT_EQ(strText, u"<LF><LF><TAB>");
}

TEST(TextSearch, FirstOccurrence) {
    EXPECT_EQ(FindFirstOccurrence(u"aabaabaaab", u"aaab"), 6u);
    EXPECT_EQ(FindFirstOccurrence(u"abababc", u"ababc"), 2u);
    EXPECT_EQ(FindFirstOccurrence(u"abc", u""), 0u);
    EXPECT_EQ(FindFirstOccurrence(u"ab", u"abc"), std::u16string::npos);
    EXPECT_EQ(FindFirstOccurrence(u"xyz", u"y z"), std::u16string::npos);
}

TEST(TextSearch, MatchCaseAndWholeWord) {
    FIND_CRITERIA oCriteria{u"abc", 0, 0};
    EXPECT_TRUE(MatchesCriteria(u"xABCx", oCriteria));
    oCriteria.bMatchCase = 1;
    EXPECT_FALSE(MatchesCriteria(u"xABCx", oCriteria));
    EXPECT_FALSE(MatchesCriteria(u"ab", oCriteria)); // longer than the entry
    oCriteria = {u"cat", 0, 1};
    EXPECT_FALSE(MatchesCriteria(u"concatenate cat", oCriteria)); // only the first occurrence
    EXPECT_TRUE(MatchesCriteria(u"cat.", oCriteria));
    EXPECT_TRUE(MatchesCriteria(u"a CAT", oCriteria));
    EXPECT_FALSE(MatchesCriteria(u"cats", oCriteria));
    oCriteria.strText = u"id";
    EXPECT_TRUE(MatchesCriteria(u"item_id", oCriteria));
    EXPECT_TRUE(MatchesCriteria(u"id:", oCriteria));
    EXPECT_FALSE(MatchesCriteria(u"idle", oCriteria));
    EXPECT_FALSE(MatchesCriteria(u"2id", oCriteria));
}
