// Recording: what other programs copy becomes rows of the main window, newest first; activating
// a row moves it to the head. (A lowered bound trims at once: the options scenario.)

#include "KorvexScenario.h"
#include "Mouse.h"
#include "RemoteListView.h"

#include <ctime>

namespace e2e {
namespace {

using e2eRecording = KorvexScenario;

// Whether the text is one of the seconds [nFrom, nTo] as the list shows a creation time.
bool ShowsTimeBetween(const std::wstring& strShown, time_t nFrom, time_t nTo) {
    for (time_t n = nFrom; n <= nTo; ++n) {
        wchar_t aTime[32] = {};
        wcsftime(aTime, 32, L"%Y.%m.%d %H:%M:%S", std::localtime(&n));
        if (strShown == aTime) {
            return true;
        }
    }
    return false;
}

TEST_F(e2eRecording, CopiesOfOtherProgramsBecomeEscapedNumberedRowsNewestFirst) {
    // An X11 copy over a Wine program's text can be two clipboard changes under Wine, one over
    // another X11 copy is one: the X11 side owns the clipboard before Korvex runs.
    for (const wchar_t* pszText : {L"before Korvex 1", L"before Korvex 2"}) {
        ASSERT_TRUE(CopyWithXclip(pszText));
        ASSERT_TRUE(PumpUntil([&] { return ReadClipboardText() == pszText; }, 10000));
    }
    ASSERT_TRUE(StartKorvex());
    const time_t nStart = std::time(nullptr);

    const std::wstring strGreeting = L"Gr\u00fc\u00dfe \u2014 \u043c\u0438\u0440";
    struct STEP {
        std::wstring strCopy;
        bool bWithXclip;
        std::wstring strShown; // in the "Text" column
    };
    const std::vector<STEP> vecSteps = {
        {L"by xclip " + strGreeting, true, L"by xclip " + strGreeting},
        {L"first", false, L"first"},
        {L"a\tb\r\n", false, L"a<TAB>b<CR><LF>"}, // (cut and escaped: the list row's tests)
        {strGreeting, false, strGreeting},
        {L"first", false, L"first"}, // the same text again is a row of its own
    };
    std::vector<std::wstring> vecExpected;
    for (const STEP& oStep : vecSteps) {
        SCOPED_TRACE(ToUtf8(oStep.strShown.substr(0, 40)));
        ASSERT_TRUE(oStep.bWithXclip ? CopyWithXclip(oStep.strCopy) : Copy(oStep.strCopy));
        vecExpected.insert(vecExpected.begin(), oStep.strShown);
        ASSERT_TRUE(WaitForRows(vecExpected));
    }

    const CRemoteListView oList(m_korvex.ListWindow());
    const time_t nEnd = std::time(nullptr);
    for (int i = 0; i < static_cast<int>(vecExpected.size()); ++i) {
        EXPECT_EQ(std::to_wstring(i + 1), oList.Text(i, kColumnNo));
        const std::wstring strTime = oList.Text(i, kColumnTime);
        EXPECT_TRUE(ShowsTimeBetween(strTime, nStart - 1, nEnd + 1))
            << "row " << i << ": " << ToUtf8(strTime);
    }
}

TEST_F(e2eRecording, ActivatedRowMovesToTheHeadOnce) {
    ASSERT_TRUE(StartKorvex(L"-n"));
    ASSERT_TRUE(CopyEach({L"one", L"two", L"three"}));

    // A double-click on the last row activates it.
    POINT ptCell{};
    ASSERT_TRUE(CRemoteListView(m_korvex.ListWindow()).CellPoint(2, kColumnText, ptCell));
    ASSERT_TRUE(ClickAt(ptCell, 2));
    EXPECT_TRUE(WaitForRows({L"one", L"three", L"two"}));
    EXPECT_TRUE(PumpUntil([] { return ReadClipboardText() == L"one"; }));
    // The activation's own clipboard change does not come back as a row.
    ASSERT_TRUE(Copy(L"four"));
    EXPECT_TRUE(WaitForRows({L"four", L"one", L"three", L"two"}));
}

} // namespace
} // namespace e2e
