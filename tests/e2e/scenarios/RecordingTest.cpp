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

// (Escaped, non-ASCII and X11 texts, the same text twice, and the text already on the clipboard
// at the start: the list row's, the clipboard's and the monitor's tests; an X11 copy in Korvex:
// the recording control scenario.)
TEST_F(e2eRecording, CopiesOfOtherProgramsBecomeNumberedTimedRowsNewestFirst) {
    ASSERT_TRUE(StartKorvex());
    const time_t nStart = std::time(nullptr);
    ASSERT_TRUE(CopyEach({L"first", L"second", L"third"}));
    const CRemoteListView oList(m_korvex.ListWindow());
    const time_t nEnd = std::time(nullptr);
    for (int i = 0; i < 3; ++i) {
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
