// The start switch "n" and everything that is not it.

#include <gtest/gtest.h>

#include "app/KorvexCommandLineInfo.h"

namespace {

BOOL ShownAtStart(const wchar_t* pszCommandLine) {
    CKorvexCommandLineInfo info;
    info.ParseCommandLine(pszCommandLine);
    return info.m_bShowAtStart;
}

// Records what ParseParam was handed, to check the splitting into text, flag and last.
class CRecordingInfo : public CKorvexCommandLineInfo {
public:
    void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override {
        m_strSeen += pszParam;
        m_strSeen += bFlag ? L"|f" : L"|p";
        m_strSeen += bLast ? L"|l;" : L";";
        CKorvexCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
    }
    std::wstring m_strSeen;
};

} // namespace

TEST(CommandLine, SwitchNAfterSlashOrHyphenShowsTheWindow) {
    EXPECT_TRUE(ShownAtStart(L"korvex.exe /n"));
    EXPECT_TRUE(ShownAtStart(L"korvex.exe -n"));
    EXPECT_TRUE(ShownAtStart(L"\"C:\\Program Files\\Korvex\\korvex.exe\" -n"));
    EXPECT_TRUE(ShownAtStart(L"korvex.exe notes.txt /x -n"));
}

TEST(CommandLine, AnythingElseLeavesItHidden) {
    EXPECT_FALSE(ShownAtStart(L""));
    EXPECT_FALSE(ShownAtStart(L"korvex.exe"));
    EXPECT_FALSE(ShownAtStart(L"korvex.exe /N"));
    EXPECT_FALSE(ShownAtStart(L"korvex.exe n"));
    EXPECT_FALSE(ShownAtStart(L"korvex.exe /nn"));
    EXPECT_FALSE(ShownAtStart(L"korvex.exe --n"));
    // Switches the platform's frameworks know do nothing here either.
    EXPECT_FALSE(ShownAtStart(L"korvex.exe /Unregister /Embedding /p file.txt"));
    // The program's own path is never an argument, even if it looks like the switch.
    EXPECT_FALSE(ShownAtStart(L"-n"));
}

TEST(CommandLine, ArgumentsAreSplitIntoTextFlagAndLast) {
    CRecordingInfo info;
    info.ParseCommandLine(L"korvex.exe \"my file.txt\" /n -Q");
    EXPECT_EQ(info.m_strSeen, L"my file.txt|p;n|f;Q|f|l;");
    EXPECT_TRUE(info.m_bShowAtStart);
}
