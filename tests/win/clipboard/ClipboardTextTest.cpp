// The clipboard functions against the real (Wine) clipboard, with other Wine programs and X11
// programs on the other side.

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>

#include "ChildProcess.h"
#include "MessagePump.h"
#include "TestText.h"
#include "X11ClipboardOwner.h"
#include "clipboard/ClipboardText.h"

namespace {

constexpr uint64_t kDefaultLimit = 5ull * 1000000;

class ClipboardText : public testing::Test {
protected:
    void SetUp() override {
        m_hOwner = CreateWindowExW(0, L"STATIC", L"clipboard test owner", 0, 0, 0, 0, 0, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_hOwner, nullptr);
    }
    void TearDown() override {
        if (m_hOwner != nullptr) {
            DestroyWindow(m_hOwner);
        }
    }

    ClipboardRead Read(uint64_t nLimit = kDefaultLimit) {
        return ReadClipboardText(m_hOwner, nLimit);
    }

    // Runs cliptool and expects it to succeed.
    void Tool(const std::wstring& strArguments) {
        const ProgramResult oResult = RunClipTool(strArguments);
        ASSERT_TRUE(oResult.bEnded)
            << "cliptool " << ToUtf8(std::u16string(strArguments.begin(), strArguments.end()));
        ASSERT_EQ(oResult.nExitCode, 0u);
    }

    HWND m_hOwner = nullptr;
};

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point tStart) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - tStart).count();
}

} // namespace

TEST_F(ClipboardText, WrittenTextIsReadByOtherPrograms) {
    for (const std::u16string strText : {u"h\u00E9llo \u2603", u"tab\there and \U0001F600", u""}) {
        const uint32_t nBefore = GetClipboardSequence();
        ASSERT_EQ(WriteClipboardText(m_hOwner, strText), ClipboardWriteStatus::Written);
        EXPECT_NE(GetClipboardSequence(), nBefore);

        const ProgramResult oWine = RunClipTool(L"read");
        ASSERT_TRUE(oWine.bEnded);
        EXPECT_EQ(oWine.nExitCode, 0u);
        EXPECT_EQ(oWine.strOutput, ToUtf8(strText));

        std::string strX11;
        if (!strText.empty()) { // an empty text offers X11 nothing to paste
            ASSERT_TRUE(ReadX11Clipboard(strX11));
            EXPECT_EQ(strX11, ToUtf8(strText));
        }
    }
    // The written block is the text and its NUL, nothing more.
    ASSERT_EQ(WriteClipboardText(m_hOwner, u"ab"), ClipboardWriteStatus::Written);
    const ProgramResult oHex = RunClipTool(L"read-hex");
    EXPECT_EQ(oHex.strOutput, "610062000000\n");
}

TEST_F(ClipboardText, ReadsTextCopiedByOtherPrograms) {
    ASSERT_NO_FATAL_FAILURE(Tool(L"write-utf8 \"h\u00E9llo \u2603 \U0001F600\""));
    ClipboardRead oRead = Read();
    EXPECT_EQ(oRead.nStatus, ClipboardReadStatus::Text);
    EXPECT_EQ(oRead.strText, u"h\u00E9llo \u2603 \U0001F600");

    CX11ClipboardOwner oX11;
    ASSERT_TRUE(oX11.Copy("x11 \xC3\xA9\tcol\r\nnext line\r\n"));
    // The X11 copy reaches the Wine clipboard a little later: wait for it with a deadline.
    const std::u16string strX11 = u"x11 \u00E9\tcol\r\nnext line\r\n";
    PumpUntil(
        [&] {
            oRead = Read();
            return oRead.strText == strX11;
        },
        5000);
    EXPECT_EQ(oRead.nStatus, ClipboardReadStatus::Text);
    EXPECT_EQ(oRead.strText, strX11);
}

TEST_F(ClipboardText, EightBitOnlyClipboardIsConverted) {
    // cliptool converts the text to the ANSI code page and offers only CF_TEXT.
    ASSERT_NO_FATAL_FAILURE(Tool(L"write-ansi caf\u00E9"));
    const ClipboardRead oRead = Read();
    EXPECT_EQ(oRead.nStatus, ClipboardReadStatus::Text);
    EXPECT_EQ(oRead.strText, u"caf\u00E9");
}

TEST_F(ClipboardText, SizeLimitCountsTheWholeBlockInclusively) {
    // 12 bytes: five 'x' and the NUL.
    ASSERT_NO_FATAL_FAILURE(Tool(L"write-size 12"));
    EXPECT_EQ(Read(12).strText, u"xxxxx");
    EXPECT_EQ(Read(11).nStatus, ClipboardReadStatus::TooLarge);
    EXPECT_EQ(Read(0).nStatus, ClipboardReadStatus::TooLarge);
    ASSERT_NO_FATAL_FAILURE(Tool(L"write-utf8 \"\""));
    EXPECT_EQ(Read(0).nStatus, ClipboardReadStatus::TooLarge); // even the empty text at limit 0
    const ClipboardRead oEmpty = Read(2);
    EXPECT_EQ(oEmpty.nStatus, ClipboardReadStatus::Text);
    EXPECT_EQ(oEmpty.strText, u"");
}

TEST_F(ClipboardText, AwkwardBlocksGiveExactlyTheirText) {
    // Each block as another program hands it over; the reader sees the block as the platform
    // keeps it (Wine puts a NUL into the last unit of a block that has none).
    for (const std::wstring strHex :
         {L"410042004300", L"41004200430044", L"3dd8410000dc0000", L"3dd800de2100", L"00004100"}) {
        ASSERT_NO_FATAL_FAILURE(Tool(L"write-raw " + strHex));
        const ProgramResult oHex = RunClipTool(L"read-hex");
        ASSERT_EQ(oHex.nExitCode, 0u);
        const std::string strBlock = BytesFromHex(oHex.strOutput);
        std::u16string strExpected;
        for (size_t i = 0; i + 1 < strBlock.size(); i += 2) {
            const char16_t c =
                static_cast<char16_t>(static_cast<unsigned char>(strBlock[i]) |
                                      static_cast<unsigned char>(strBlock[i + 1]) << 8);
            if (c == 0) {
                break;
            }
            strExpected.push_back(c);
        }
        const ClipboardRead oRead = Read();
        EXPECT_EQ(oRead.nStatus, ClipboardReadStatus::Text);
        EXPECT_EQ(oRead.strText, strExpected)
            << ToUtf8(std::u16string(strHex.begin(), strHex.end()));
    }
    // Unpaired surrogates are kept exactly.
    ASSERT_NO_FATAL_FAILURE(Tool(L"write-raw 3dd8410000dc0000"));
    EXPECT_EQ(Read().strText, (std::u16string{0xD83D, u'A', 0xDC00}));
}

TEST_F(ClipboardText, HeldClipboardFailsFastAndStaysUnchanged) {
    CChildProcess oHolder;
    ASSERT_TRUE(oHolder.Start(ClipToolCommand(L"hold 2000 held")));
    ASSERT_TRUE(oHolder.WaitForOutput("holding", 10000));

    Clock::time_point tStart = Clock::now();
    const ClipboardRead oRead = Read();
    const long long nReadMs = MillisecondsSince(tStart);
    EXPECT_EQ(oRead.nStatus, ClipboardReadStatus::Busy);
    EXPECT_LT(nReadMs, 1000);

    tStart = Clock::now();
    const ClipboardWriteStatus nWrite = WriteClipboardText(m_hOwner, u"mine");
    const long long nWriteMs = MillisecondsSince(tStart);
    EXPECT_EQ(nWrite, ClipboardWriteStatus::FailedUnchanged);
    EXPECT_LT(nWriteMs, 1000);
    // Both gave up while the holder still held the clipboard.
    EXPECT_FALSE(oHolder.WaitForExit(0));

    ASSERT_TRUE(oHolder.WaitForExit(10000));
    EXPECT_EQ(oHolder.GetExitCode(), 0u);
    const ProgramResult oAfter = RunClipTool(L"read");
    EXPECT_EQ(oAfter.strOutput, "held");
    std::printf("busy read gave up after %lld ms, busy write after %lld ms\n", nReadMs, nWriteMs);
}

namespace {

// A window whose WM_APP handler reads the clipboard: used to see what a read started from a
// message dispatched inside another read gets.
struct NestedRead {
    HWND hWnd = nullptr;
    bool bHandled = false;
    bool bInsideOuterRead = false;
    ClipboardRead oRead;
};
NestedRead* g_pNested = nullptr;
bool g_bInOuterRead = false;

LRESULT CALLBACK NestedReadProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == WM_APP && g_pNested != nullptr) {
        g_pNested->bInsideOuterRead = g_bInOuterRead;
        g_pNested->oRead = ReadClipboardText(hWnd, kDefaultLimit);
        g_pNested->bHandled = true;
        return 0;
    }
    return DefWindowProcW(hWnd, nMessage, wParam, lParam);
}

} // namespace

TEST_F(ClipboardText, ReadStartedInsideAReadIsRefusedAsBusy) {
    // Reading X11 data waits on Wine's clipboard manager, and messages sent to this thread are
    // dispatched meanwhile. One is waiting before the read starts.
    CX11ClipboardOwner oX11;
    const uint32_t nBefore = GetClipboardSequence();
    ASSERT_TRUE(oX11.Copy("outer"));
    ASSERT_TRUE(PumpUntil([&] { return GetClipboardSequence() != nBefore; }, 5000));

    WNDCLASSW oClass{};
    oClass.lpfnWndProc = NestedReadProc;
    oClass.hInstance = GetModuleHandleW(nullptr);
    oClass.lpszClassName = L"KorvexNestedReadTest";
    RegisterClassW(&oClass);
    NestedRead oNested;
    oNested.hWnd = CreateWindowExW(0, oClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                   oClass.hInstance, nullptr);
    ASSERT_NE(oNested.hWnd, nullptr);
    g_pNested = &oNested;
    HANDLE hSender = CreateThread(
        nullptr, 0,
        [](void* pWnd) -> DWORD {
            SendMessageTimeoutW(static_cast<HWND>(pWnd), WM_APP, 0, 0, SMTO_NORMAL, 10000, nullptr);
            return 0;
        },
        oNested.hWnd, 0, nullptr);
    ASSERT_NE(hSender, nullptr);
    // Wait, without dispatching, until the sent message is pending for this thread.
    const ULONGLONG nDeadline = GetTickCount64() + 5000;
    while ((HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) == 0 &&
           GetTickCount64() < nDeadline) {
        WaitForSingleObject(hSender, 1); // a bounded wait for the sender thread to get going
    }

    // Both reads use the same window, as the program's reads all use its main window.
    g_bInOuterRead = true;
    const ClipboardRead oOuter = ReadClipboardText(oNested.hWnd, kDefaultLimit);
    g_bInOuterRead = false;
    PumpUntil([&] { return oNested.bHandled; }, 5000);
    WaitForSingleObject(hSender, 10000);
    CloseHandle(hSender);
    g_pNested = nullptr;
    DestroyWindow(oNested.hWnd);

    EXPECT_EQ(oOuter.nStatus, ClipboardReadStatus::Text);
    EXPECT_EQ(oOuter.strText, u"outer");
    ASSERT_TRUE(oNested.bHandled);
    ASSERT_TRUE(oNested.bInsideOuterRead) << "the read dispatched no message";
    EXPECT_EQ(oNested.oRead.nStatus, ClipboardReadStatus::Busy);
}
