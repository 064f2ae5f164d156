// The clipboard functions against the real (Wine) clipboard, with another Wine program and X11
// programs on the other side.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <thread>

#include "ClipTool.h"
#include "clipboard/ClipboardText.h"
#include "tests/support/win/HandlerWindow.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/X11Clipboard.h"

namespace {

constexpr uint64_t kDefaultLimit = 5'000'000;

std::optional<LRESULT> NoMessages(UINT, WPARAM, LPARAM) {
    return std::nullopt;
}

} // namespace

TEST(ClipboardText, WrittenTextIsReadByAnotherWineProgramAndByX11) {
    const wintest::CHandlerWindow oOwner(NoMessages);
    for (const std::u16string strText : {u"h\u00E9llo \u2603", u"tab\there and \U0001F600", u""}) {
        const uint32_t nBefore = GetClipboardSequence();
        ASSERT_EQ(WriteClipboardText(oOwner.Handle(), strText), ClipboardWriteStatus::Written);
        EXPECT_NE(GetClipboardSequence(), nBefore);
        const ClipToolResult oWine = RunClipTool(L"read");
        EXPECT_EQ(oWine.nExitCode, 0u);
        EXPECT_EQ(oWine.strOutput, ToUtf8(strText));
        if (!strText.empty()) { // an empty text offers X11 nothing to paste
            EXPECT_EQ(wintest::ReadX11Clipboard(), ToUtf8(strText));
        }
    }
    // The block is the text and its NUL, nothing more.
    ASSERT_EQ(WriteClipboardText(oOwner.Handle(), u"ab"), ClipboardWriteStatus::Written);
    EXPECT_EQ(RunClipTool(L"read-hex").strOutput, "610062000000\n");
}

TEST(ClipboardText, ReadsTheTextAnotherProgramOffers) {
    const wintest::CHandlerWindow oOwner(NoMessages);
    const struct {
        const wchar_t* pszArguments;
        std::u16string strExpected;
    } arrCases[] = {
        {L"write-utf8 \"h\u00E9llo \u2603 \U0001F600\"", u"h\u00E9llo \u2603 \U0001F600"},
        {L"write-ansi caf\u00E9", u"caf\u00E9"}, // only 8-bit text offered: converted
    };
    for (const auto& oCase : arrCases) {
        ASSERT_EQ(RunClipTool(oCase.pszArguments).nExitCode, 0u);
        const ClipboardRead oRead = ReadWhenFree(oOwner.Handle(), kDefaultLimit);
        EXPECT_EQ(oRead.nStatus, ClipboardReadStatus::Text);
        EXPECT_EQ(oRead.strText, oCase.strExpected);
    }
}

TEST(ClipboardText, ReadStartedInsideAReadIsRefusedAsBusy) {
    // Both reads use the same window, as the program's reads all use its main window. It is
    // made first: a Wine thread without a window may not see X11's changes at all.
    bool bInOuterRead = false;
    bool bNestedInside = false;
    std::optional<ClipboardRead> optNested;
    HWND hWnd = nullptr;
    const wintest::CHandlerWindow oWindow([&](UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (nMsg != WM_APP) {
            return std::nullopt;
        }
        bNestedInside = bInOuterRead;
        optNested = ReadClipboardText(hWnd, kDefaultLimit);
        return 0;
    });
    hWnd = oWindow.Handle();

    // Reading X11 data waits on Wine's clipboard manager, and messages sent to this thread are
    // dispatched meanwhile. One is waiting before the read starts.
    wintest::CX11ClipboardOwner oX11;
    const uint32_t nBefore = GetClipboardSequence();
    ASSERT_TRUE(oX11.Copy("outer"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetClipboardSequence() != nBefore; }))
        << "xclip still serving: " << oX11.IsServing();
    std::thread oSender([&] { SendMessageTimeoutW(hWnd, WM_APP, 0, 0, 0, 10000, nullptr); });
    // Wait, without dispatching, until the sent message is pending for this thread.
    const ULONGLONG nDeadline = GetTickCount64() + 5000;
    while ((HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) == 0 &&
           GetTickCount64() < nDeadline) {
        Sleep(1);
    }
    bInOuterRead = true;
    const ClipboardRead oOuter = ReadClipboardText(hWnd, kDefaultLimit);
    bInOuterRead = false;
    wintest::PumpUntil([&] { return optNested.has_value(); });
    oSender.join();

    EXPECT_EQ(oOuter.nStatus, ClipboardReadStatus::Text);
    EXPECT_EQ(oOuter.strText, u"outer");
    ASSERT_TRUE(optNested.has_value());
    EXPECT_TRUE(bNestedInside) << "the read dispatched no message";
    EXPECT_EQ(optNested->nStatus, ClipboardReadStatus::Busy);
}
