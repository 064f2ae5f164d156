// Clips marked private by the program that copied them, and clips of a program the user never
// records: no entry, and the next ordinary copy is recorded as usual.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

#include "ClipTool.h"
#include "MonitoredHistory.h"
#include "clipboard/WindowProgram.h"
#include "history/ProgramNameList.h"
#include "tests/support/win/HandlerWindow.h"
#include "tests/support/win/MessagePump.h"

TEST(PrivateClip, OnlyClipsWithoutAPrivateMarkerBecomeEntries) {
    CMonitoredHistory oHistory;
    const struct {
        const wchar_t* pszArguments;
        const char16_t* pszEntry; // the new head, or nullptr when nothing is recorded
    } arrCopies[] = {
        {L"write-marked exclude secret1", nullptr},
        {L"write-marked viewer-ignore secret2", nullptr},
        {L"write-marked history-0 secret3", nullptr},
        {L"write-marked history-1 allowed", u"allowed"},
        {L"write-marked history-short unreadable", u"unreadable"}, // says nothing: recorded
        {L"write-utf8 plain", u"plain"},
    };
    int32_t nEntries = 0;
    for (const auto& oCopy : arrCopies) {
        SCOPED_TRACE(ToUtf8({oCopy.pszArguments, oCopy.pszArguments + wcslen(oCopy.pszArguments)}));
        const int nNotified = oHistory.Monitor().GetChangeCount();
        ASSERT_EQ(RunClipTool(oCopy.pszArguments).nExitCode, 0u);
        // The read runs inside the notification; a busy clipboard is read from the retry timer.
        ASSERT_TRUE(wintest::PumpUntil([&] {
            return oHistory.Monitor().GetChangeCount() > nNotified &&
                   !oHistory.Monitor().IsRetrying();
        }));
        nEntries += oCopy.pszEntry != nullptr ? 1 : 0;
        EXPECT_EQ(oHistory.Doc().GetItemCount(), nEntries);
        if (oCopy.pszEntry != nullptr) {
            EXPECT_EQ(oHistory.EntryText(0), oCopy.pszEntry);
        }
    }
}

TEST(NeverRecordFrom, OnlyAClipWhoseOwnerWindowIsAListedProgramsIsExcluded) {
    std::optional<wintest::CHandlerWindow> optOwner(
        std::in_place, [](UINT, WPARAM, LPARAM) { return std::optional<LRESULT>(); });
    const HWND hOwner = optOwner->Handle();
    // This test program's own file name, as the user would write it in another case.
    std::wstring strSelf = GetWindowProgramPath(hOwner);
    ASSERT_NE(strSelf.find_last_of(L'\\'), std::wstring::npos) << "no path: " << strSelf.size();
    strSelf = strSelf.substr(strSelf.find_last_of(L'\\') + 1);
    CharUpperW(strSelf.data());
    const std::u16string strListed(strSelf.begin(), strSelf.end());
    const CProgramNameList oListed(u"other.exe ;  " + strListed);
    const CProgramNameList oOthers(u"other.exe; cliptool.exe.bak");
    const CProgramNameList oNone;
    const CProgramNameList oCliptool(u"cliptool.exe");

    const struct {
        const wchar_t* pszCliptool; // another program copies (and ends); nullptr: this one
        const CProgramNameList& oList;
        ClipboardReadStatus nStatus;
    } aCases[] = {
        {nullptr, oListed, ClipboardReadStatus::Excluded},
        {nullptr, oOthers, ClipboardReadStatus::Text},
        {nullptr, oNone, ClipboardReadStatus::Text},
        // Its owner window went with it: a clip without an owner is recorded.
        {L"write-utf8 orphan", oCliptool, ClipboardReadStatus::Text},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(static_cast<int>(&c - aCases));
        if (c.pszCliptool != nullptr) {
            ASSERT_EQ(RunClipTool(c.pszCliptool).nExitCode, 0u);
        } else {
            ASSERT_EQ(WriteClipboardText(hOwner, u"own"), ClipboardWriteStatus::Written);
        }
        ClipboardRead oRead;
        ASSERT_TRUE(wintest::PumpUntil([&] {
            oRead = ReadClipboardText(hOwner, 1000, &c.oList);
            return oRead.nStatus != ClipboardReadStatus::Busy;
        }));
        EXPECT_EQ(oRead.nStatus, c.nStatus);
        EXPECT_EQ(oRead.strText.empty(), c.nStatus != ClipboardReadStatus::Text);
        EXPECT_EQ(oRead.nSequence, GetClipboardSequence());
    }
    optOwner.reset();
    EXPECT_EQ(GetWindowProgramPath(hOwner), L"");
}
