// Recording: what other programs copy becomes rows of the main window, newest first; picking a
// row again moves it to the head; the history bound trims the oldest rows.

#include "ClipboardReader.h"
#include "InputInjector.h"
#include "KorvexContract.h"
#include "KorvexScenario.h"
#include "Registry.h"
#include "RemoteListView.h"
#include "Wait.h"

#include <algorithm>
#include <ctime>

namespace e2e {
namespace {

using e2eRecording = KorvexScenario;

std::wstring Repeat(const std::wstring& strPiece, size_t nTimes) {
    std::wstring strAll;
    for (size_t i = 0; i < nTimes; ++i) {
        strAll += strPiece;
    }
    return strAll;
}

TEST_F(e2eRecording, CopiesOfOtherProgramsBecomeNumberedRowsNewestFirst) {
    ASSERT_TRUE(StartKorvex());
    std::wstring strLong;
    for (int i = 0; i < 300; ++i) {
        strLong += static_cast<wchar_t>(L'a' + i % 26);
    }
    // Each copy, and the rows it must leave (head first; what the "Text" column shows).
    struct Step {
        std::wstring strCopy;
        bool bWithXclip;
        std::wstring strShown;
    };
    const std::vector<Step> vecSteps = {
        {L"first", false, L"first"},
        {L"a\tb\r\n", false, L"a<TAB>b<CR><LF>"},
        {L"copied by xclip: Gr\u00fc\u00dfe, \u043c\u0438\u0440", true,
         L"copied by xclip: Gr\u00fc\u00dfe, \u043c\u0438\u0440"},
        {strLong, false, strLong.substr(0, 200)},
        {Repeat(L"\t", 200), false, Repeat(L"<TAB>", 200)},
        {L"Gr\u00fc\u00dfe \u2014 \u043f\u0440\u0438\u0432\u0435\u0442", false,
         L"Gr\u00fc\u00dfe \u2014 \u043f\u0440\u0438\u0432\u0435\u0442"},
        {L"first", false, L"first"}, // the same text again is a row of its own
    };
    std::vector<std::wstring> vecExpected;
    for (const Step& step : vecSteps) {
        SCOPED_TRACE(ToUtf8(step.strShown.substr(0, 40)));
        ASSERT_TRUE(step.bWithXclip ? CopyWithXclip(step.strCopy) : Copy(step.strCopy));
        vecExpected.insert(vecExpected.begin(), step.strShown);
        ASSERT_TRUE(WaitForRows(vecExpected));
    }

    CRemoteListView list(m_korvex.ListWindow());
    const time_t nNow = std::time(nullptr);
    for (int i = 0; i < static_cast<int>(vecExpected.size()); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::to_wstring(i + 1), list.Text(i, kColumnNo));
        EXPECT_EQ(L"", list.Text(i, 0));
        const std::wstring strTime = list.Text(i, kColumnTime);
        const std::optional<time_t> nShown = ParseShownTime(strTime);
        ASSERT_TRUE(nShown.has_value()) << "not a yyyy.mm.dd HH:MM:SS time: " << ToUtf8(strTime);
        EXPECT_LE(std::abs(static_cast<long long>(*nShown - nNow)), 60) << ToUtf8(strTime);
    }
}

// Waits until the clipboard holds the text.
::testing::AssertionResult WaitForClipboard(const std::wstring& strText) {
    std::optional<std::wstring> text;
    if (WaitUntil([&] { return (text = ReadClipboardText()) == strText; }, 5000)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the clipboard holds \"" << ToUtf8(text.value_or(L"(no text)")) << "\"";
}

TEST_F(e2eRecording, ActivatingARowPutsItOnTheClipboardAndMovesItToTheHeadOnce) {
    ASSERT_TRUE(StartKorvex(L"-n"));
    ASSERT_TRUE(CopyEach({L"one", L"two", L"three"}));
    CRemoteListView list(m_korvex.ListWindow());

    // Double-click on the "Text" cell of the last row.
    RECT rcCell{};
    ASSERT_TRUE(list.CellScreenRect(2, kColumnText, rcCell));
    ASSERT_TRUE(Click({rcCell.left + 20, (rcCell.top + rcCell.bottom) / 2}, 2).bDone);
    EXPECT_TRUE(WaitForClipboard(L"one"));
    // The activation's own clipboard change must not come back as a row: a later copy lands
    // right on top of the moved row.
    ASSERT_TRUE(Copy(L"mark 1"));
    EXPECT_TRUE(WaitForRows({L"mark 1", L"one", L"three", L"two"}));

    // A click on a row selects it; Enter activates it.
    ASSERT_TRUE(list.CellScreenRect(3, kColumnText, rcCell));
    ASSERT_TRUE(Click({rcCell.left + 20, (rcCell.top + rcCell.bottom) / 2}).bDone);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == m_korvex.MainWindow(); }, 3000));
    ASSERT_TRUE(PressKey(VK_RETURN).bDone);
    EXPECT_TRUE(WaitForClipboard(L"two"));
    ASSERT_TRUE(Copy(L"mark 2"));
    EXPECT_TRUE(WaitForRows({L"mark 2", L"two", L"mark 1", L"one", L"three"}));
}

TEST_F(e2eRecording, LoweredBufferSizeTrimsTheOldestRowsAtOnce) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"oldest", L"older", L"newer", L"newest"}));

    ASSERT_TRUE(WriteSetting(L"Options", L"BufferSize", 2));
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgOptionsChanged, 0, 0));
    EXPECT_TRUE(WaitForRows({L"newest", L"newer"}));

    // The bound holds for what comes next.
    ASSERT_TRUE(Copy(L"latest"));
    EXPECT_TRUE(WaitForRows({L"latest", L"newest"}));
}

} // namespace
} // namespace e2e
