// The text transformations, the display escaping and the match rule of the search.

#include "history/TextSearch.h"
#include "history/TextTransforms.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cwctype>
#include <string>

namespace {

using Transform = std::u16string (*)(const std::u16string&);

const Transform Upper = [](const std::u16string& s) { return ChangeCaseText(s, kCaseUpper); };
const Transform Lower = [](const std::u16string& s) { return ChangeCaseText(s, kCaseLower); };
const Transform Title = [](const std::u16string& s) { return ChangeCaseText(s, kCaseTitle); };
const Transform Escaped = [](const std::u16string& s) {
    std::u16string strText = s;
    EscapeDisplayText(strText);
    return strText;
};

struct EXAMPLE {
    Transform pfn;
    const char16_t* pszIn;
    const char16_t* pszOut;
};

void Check(const EXAMPLE& c) {
    EXPECT_EQ(c.pfn(c.pszIn), c.pszOut)
        << "input: " << testing::PrintToString(std::u16string(c.pszIn));
}

// Switches the character-type locale to one that case-maps letters beyond ASCII, and back.
class CCaseLocale {
public:
    CCaseLocale() : m_strFormer(std::setlocale(LC_CTYPE, nullptr)) {
        for (const char* pszName : {"C.UTF-8", "en_US.UTF-8", "", "English_United States.1252"}) {
            m_bReady = std::setlocale(LC_CTYPE, pszName) != nullptr &&
                       std::towupper(static_cast<wint_t>(u'é')) == static_cast<wint_t>(u'É') &&
                       std::towlower(static_cast<wint_t>(u'Σ')) == static_cast<wint_t>(u'σ');
            if (m_bReady) {
                return;
            }
        }
    }
    ~CCaseLocale() { std::setlocale(LC_CTYPE, m_strFormer.c_str()); }
    bool m_bReady = false;

private:
    std::string m_strFormer;
};

} // namespace

TEST(TextTransforms, Examples) {
    const EXAMPLE aExamples[] = {
        {ConvertToIdText, u"myVariableName", u"MY_VARIABLE_NAME"},
        {ConvertToIdText, u"XMLParser", u"X_M_L_PARSER"},
        {ConvertToIdText, u"Find what:", u"FIND_WHAT_"},
        {ConvertToIdText, u"a - b", u"A_B"},
        {ConvertToIdText, u"value2Max", u"VALUE2_MAX"},
        {ConvertToIdText, u"my_Value", u"MY_VALUE"}, // a capital after a separator
        {ConvertToIdText, u" - ", u"_"},             // separators only
        {ConvertToIdText, u"", u""},
        {ConvertFromIdText, u"MY_VARIABLE_NAME", u"MyVariableName"},
        {ConvertFromIdText, u"_abc", u"Abc"},
        {ConvertFromIdText, u"A__B", u"AB"},
        {ConvertFromIdText, u"ab_", u"Ab"},
        {ConvertFromIdText, u"___", u""},
        {MakeObjectText, u"CFindDlg", u"oFindDlg"},
        {MakeObjectText, u"", u""},
        {Upper, u"hello World", u"HELLO WORLD"},
        {Lower, u"hello World", u"hello world"},
        {Title, u"hello World", u"Hello world"},
        {Title, u"", u""},
        {Escaped, u"a\tb\r\nc", u"a<TAB>b<CR><LF>c"},
        {Escaped, u"\n\n<TAB>", u"<LF><LF><TAB>"},
    };
    for (const EXAMPLE& c : aExamples) {
        Check(c);
    }
    EXPECT_EQ(ChangeCaseText(u"aB", 7), u"aB"); // an unknown mode changes nothing
}

TEST(TextTransforms, LettersBeyondAsciiFollowTheLocale) {
    CCaseLocale oLocale;
    ASSERT_TRUE(oLocale.m_bReady) << "no locale of this C runtime case-maps é and Σ";
    const EXAMPLE aExamples[] = {
        {Upper, u"straße é", u"STRAßE É"},
        {Lower, u"ΑΒΓ ÉTÉ", u"αβγ été"},
        {Title, u"éCOLE", u"École"},
        {ConvertToIdText, u"éclairΔelta", u"ÉCLAIR_ΔELTA"},
        {ConvertFromIdText, u"ÉTÉ_ΑΒΓ", u"ÉtéΑβγ"},
    };
    for (const EXAMPLE& c : aExamples) {
        Check(c);
    }
    const FIND_CRITERIA oCriteria{u"ΣΟΦΊΑ", 0, 1};
    EXPECT_TRUE(MatchesCriteria(u"η σοφία.", oCriteria));
    EXPECT_FALSE(MatchesCriteria(u"σοφίαé", oCriteria)); // é is a letter: no word boundary
}

TEST(TextSearch, FirstOccurrenceMatchCaseAndWholeWordOnTheFirstOccurrence) {
    EXPECT_EQ(FindFirstOccurrence(u"aabaabaaab", u"aaab"), 6u);
    EXPECT_EQ(FindFirstOccurrence(u"abababc", u"ababc"), 2u);
    EXPECT_EQ(FindFirstOccurrence(u"ab", u"abc"), std::u16string::npos);
    const struct {
        const char16_t* pszFind;
        bool bMatchCase, bWholeWord;
        const char16_t* pszText;
        bool bMatch;
    } aCases[] = {
        {u"abc", false, false, u"xABCx", true}, {u"abc", true, false, u"xABCx", false},
        {u"abc", true, false, u"ab", false},    {u"cat", false, true, u"concatenate cat", false},
        {u"cat", false, true, u"a CAT.", true}, {u"cat", false, true, u"cats", false},
        {u"id", false, true, u"item_id", true}, {u"id", false, true, u"2id", false},
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(MatchesCriteria(c.pszText, {c.pszFind, c.bMatchCase, c.bWholeWord}), c.bMatch)
            << testing::PrintToString(std::u16string(c.pszFind)) << " in "
            << testing::PrintToString(std::u16string(c.pszText));
    }
}
