// Find-by-typing: the rows a filter text finds, typed key by key or set at once, as the history
// changes under it, under another case folding, and the marks in a row's shown text.

#include "FakePorts.h"

#include "history/HistoryFilter.h"
#include "history/TextTransforms.h" // kShownTextLength

using Rows = std::vector<int32_t>;

namespace {

const std::u16string kLong = std::u16string(kShownTextLength, u'x') + u" Needle";
// A word across the first 1,024 characters' end, and one too long for the blocks' sieves.
const std::u16string kBlocks = std::u16string(1018, u'x') + u" Straddling " +
                               u"abcdefghijklmnopqrstuvwxyz0123456789" + std::u16string(2000, u'y');

} // namespace

class HistoryFilter : public DocTest {
protected:
    void SetUp() override {
        Reset({u"SELECT id FROM customers", u"select name from orders", u"Customers list", u"cafe",
               u"CAFÉ", kLong, u"Σοφία Привет ŁÓDŹ ΟΔΟΣ", kBlocks});
        m_pFolded = std::make_unique<CFoldedHistory>(*m_pDoc);
        m_pDoc->AddObserver(m_pFolded.get());
        m_pFilter = std::make_unique<CHistoryFilter>(*m_pDoc, *m_pFolded);
    }
    std::unique_ptr<CFoldedHistory> m_pFolded;
    std::unique_ptr<CHistoryFilter> m_pFilter;
};

TEST_F(HistoryFilter, EveryWordInAnyOrderAnywhereInTheTextTypedOrSetAtOnce) {
    const struct {
        const char16_t* pszFilter;
        Rows arrRows;
    } aCases[] = {
        {u"sel cust", {0}},
        {u"cust sel", {0}},
        {u" sel  cust ", {0}},
        {u"SEL", {0, 1}},
        {u"customers", {0, 2}},
        {u"café", {4}},
        {u"cafe", {3}},
        {u"needle", {5}}, // after the shown characters
        {u"ΣΟΦΊΑ привет łódź", {6}},
        {u"οδος", {6}}, // final sigma typed, capital sigma in the text
        {u"straddling", {7}},
        {u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", {7}},
        {u"sel zzz", {}},
        {u"  ", {0, 1, 2, 3, 4, 5, 6, 7}},
    };
    for (const auto& c : aCases) {
        const std::u16string strFilter = c.pszFilter;
        // Typed key by key from an empty field (each key may narrow the former rows)...
        m_pFilter->SetText(u"");
        for (size_t n = 1; n <= strFilter.size(); ++n) {
            m_pFilter->SetText(strFilter.substr(0, n));
        }
        EXPECT_EQ(m_pFilter->GetRows(), c.arrRows) << testing::PrintToString(strFilter) << " typed";
        // ...and set at once on a fresh filter.
        CHistoryFilter oFresh(*m_pDoc, *m_pFolded);
        oFresh.SetText(strFilter);
        EXPECT_EQ(oFresh.GetRows(), c.arrRows) << testing::PrintToString(strFilter);
    }
}

TEST_F(HistoryFilter, FollowsTheHistoryAndKeepsTrackOfEntries) {
    m_pFilter->SetText(u"cust");
    const CLIP_ITEM* pSecond = m_pFilter->GetRowEntry(1);
    EXPECT_EQ(pSecond, m_pDoc->FindItem(2));
    m_pDoc->AddItem(u"new CUSTOMER"); // arrives matching: at the top
    m_pDoc->AddItem(u"other");        // arrives not matching
    m_pFilter->Refresh();
    EXPECT_EQ(m_pFilter->GetRows(), (Rows{1, 2, 4}));
    EXPECT_EQ(m_pFilter->FindRow(pSecond), 2);
    m_pDoc->ReplaceItemText(2, u"no longer"); // an edit: the entry leaves the rows
    m_pFilter->Refresh();
    EXPECT_EQ(m_pFilter->GetRows(), (Rows{1, 4}));
    m_pDoc->ReplaceItemText(0, u"customs"); // the head's edit, told as the whole list
    m_pDoc->RemoveItem(4);
    m_pFilter->Refresh();
    EXPECT_EQ(m_pFilter->GetRows(), (Rows{0, 1}));
    EXPECT_EQ(m_pFilter->FindRow(pSecond), -1);
    EXPECT_EQ(m_pFilter->GetRowEntry(2), nullptr);
    m_pDoc->ClearList(); // the folded copies go with the entries
    m_pFilter->Refresh();
    EXPECT_TRUE(m_pFilter->GetRows().empty());
    EXPECT_EQ(m_pFolded->GetHeldBytes(), 0u);
}

// Folded later (a start with a large kept history): the newest entry at once, the others when
// a filter reads them or a slice at a time, and in the end the same as folded at once.
TEST_F(HistoryFilter, EntriesLeftForLaterAreFoldedWhenReadOrSliceBySlice) {
    m_pDoc->AddItem(u"fresh cust");
    const size_t nAll = m_pFolded->GetHeldBytes();
    for (const bool bBySlices : {false, true}) {
        CFoldedHistory oLater(*m_pDoc, DefaultCaseFold, true);
        m_pDoc->AddObserver(&oLater);
        m_pDoc->AddItem(u"newest");
        m_pDoc->RemoveItem(0);
        EXPECT_GT(oLater.GetHeldBytes(), 0u);
        EXPECT_LT(oLater.GetHeldBytes(), nAll / 2);
        if (bBySlices) {
            int nSlices = 0;
            while (oLater.FoldPending(1)) {
                ++nSlices;
            }
            EXPECT_GT(nSlices, 1);
        } else {
            CHistoryFilter oFilter(*m_pDoc, oLater);
            oFilter.SetText(u"cust");
            EXPECT_EQ(oFilter.GetRows(), (Rows{0, 1, 3}));
        }
        EXPECT_EQ(oLater.GetHeldBytes(), nAll);
        EXPECT_FALSE(oLater.FoldPending(SIZE_MAX));
        m_pDoc->RemoveObserver(&oLater);
    }
}

TEST_F(HistoryFilter, CaseAsTheGivenFoldingSeesIt) {
    Reset({u"INFO", u"ınfo"});
    m_pFolded = std::make_unique<CFoldedHistory>(*m_pDoc);
    CHistoryFilter oFilter(*m_pDoc, *m_pFolded);
    oFilter.SetText(u"info");
    EXPECT_EQ(oFilter.GetRows(), (Rows{0}));
    // A Turkish folding: I goes to the dotless small i.
    m_pFolded->SetCaseFold([](char16_t ch) { return ch == u'I' ? u'ı' : DefaultCaseFold(ch); });
    oFilter.RefreshAll();
    EXPECT_EQ(oFilter.GetRows(), (Rows{}));
    oFilter.SetText(u"INFO");
    EXPECT_EQ(oFilter.GetRows(), (Rows{0, 1}));
}

TEST_F(HistoryFilter, MarksInTheShownTextAfterItsEscapes) {
    const struct {
        const char16_t* pszText;
        const char16_t* pszFilter;
        std::vector<TEXT_MARK> arrMarks;
    } aCases[] = {
        {u"a\tselect cust sel", u"cust SEL", {{6, 3}, {13, 4}}}, // "a<TAB>select cust sel"
        {u"x\r\nSELECT", u"select", {{9, 6}}},                   // "x<CR><LF>SELECT"
        {u"a\tb", u"a\tb", {{0, 7}}},                            // a tab inside a word
        {u"select", u"sel elect", {{0, 6}}},                     // overlapping marks joined
        {kLong.c_str(), u"needle x", {{0, 1}}},                  // beyond the shown characters
        {u"abc", u"", {}},
    };
    for (const auto& c : aCases) {
        m_pFilter->SetText(c.pszFilter);
        EXPECT_EQ(m_pFilter->FindShownMarks(c.pszText), c.arrMarks)
            << testing::PrintToString(std::u16string(c.pszText));
    }
}
