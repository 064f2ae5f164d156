// Malformed text blocks that another program puts on the real clipboard: each is read up to its
// first NUL or its end, or skipped, and never read past its end.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ClipTool.h"
#include "clipboard/ClipboardText.h"
#include "tests/support/win/HandlerWindow.h"

namespace {

// The text of the clipboard's Unicode block as any other program gets it, up to its first NUL.
std::u16string BlockTextSeenByOthers() {
    const std::string strHex = RunClipTool(L"read-hex").strOutput;
    std::u16string strText;
    for (size_t i = 0; i + 4 <= strHex.size(); i += 4) {
        const auto nUnit =
            static_cast<char16_t>(std::stoul(strHex.substr(i + 2, 2), nullptr, 16) << 8 |
                                  std::stoul(strHex.substr(i, 2), nullptr, 16));
        if (nUnit == 0) {
            break;
        }
        strText += nUnit;
    }
    return strText;
}

} // namespace

TEST(MalformedClip, EachBlockIsReadUpToItsFirstNulOrSkipped) {
    constexpr uint64_t kLimit = 1000;
    const wintest::CHandlerWindow oOwner([](UINT, WPARAM, LPARAM) { return std::nullopt; });
    const struct {
        const wchar_t* pszArguments;
        DWORD nToolExit; // STILL_ACTIVE: the tool stays, serving the clipboard, while it is read
        ClipboardReadStatus nStatus;
        std::u16string strWritten; // the text is this, up to where the platform's block ends
    } arrCases[] = {
        // No terminating NUL: Wine itself writes one over the last unit before anyone reads.
        {L"write-raw 41004200", 0, ClipboardReadStatus::Text, u"AB"},
        {L"write-raw 4100420043", 0, ClipboardReadStatus::Text, u"AB"}, // odd number of bytes
        // A block of no bytes: Wine refuses it, and the emptied clipboard has no text.
        {L"write-raw \"\"", 3, ClipboardReadStatus::NoText, u""},
        {L"write-raw 0000000000000000", 0, ClipboardReadStatus::Text, u""}, // only NULs
        {L"write-raw 410000004200", 0, ClipboardReadStatus::Text, u"A"},    // text after the NUL
        // Just under and just over the limit (the last unit, or the last two bytes, are NUL).
        {L"write-size 999", 0, ClipboardReadStatus::Text, std::u16string(498, u'x')},
        {L"write-size 1001", 0, ClipboardReadStatus::TooLarge, u""},
        // Delayed rendering whose owner renders nothing: the clipboard hands out no block.
        {L"write-delayed 20000", STILL_ACTIVE, ClipboardReadStatus::NoText, u""},
    };
    for (const auto& oCase : arrCases) {
        SCOPED_TRACE(ToUtf8({oCase.pszArguments, oCase.pszArguments + wcslen(oCase.pszArguments)}));
        wintest::CChildProcess oTool;
        ASSERT_TRUE(oTool.Start(ClipToolCommand(oCase.pszArguments)));
        if (oCase.nToolExit == STILL_ACTIVE) {
            ASSERT_TRUE(oTool.WaitForOutput("holding", 15000));
        } else {
            ASSERT_TRUE(oTool.WaitForExit(15000));
        }
        ASSERT_EQ(oTool.ExitCode(), oCase.nToolExit);
        const ClipboardRead oRead = ReadWhenFree(oOwner.Handle(), kLimit);
        EXPECT_EQ(oRead.nStatus, oCase.nStatus);
        if (oRead.nStatus == ClipboardReadStatus::Text) {
            EXPECT_EQ(oRead.strText, BlockTextSeenByOthers());
            EXPECT_EQ(oCase.strWritten.rfind(oRead.strText, 0), 0u) << "not a prefix";
        } else {
            EXPECT_EQ(oRead.strText, u"");
        }
    }
}
