// The start switch "n" and everything that is not it.

#include <gtest/gtest.h>

#include "app/KorvexCommandLineInfo.h"

TEST(CommandLine, OnlyTheSwitchNShowsTheWindowAtStart) {
    const struct {
        const wchar_t* pszLine;
        BOOL bShown;
    } arrCases[] = {
        {L"korvex.exe /n", TRUE},
        {L"korvex.exe -n", TRUE},
        {L"\"C:\\Program Files\\Korvex\\korvex.exe\" -n", TRUE},
        {L"korvex.exe notes.txt /x -n", TRUE},
        {L"", FALSE},
        {L"korvex.exe", FALSE},
        {L"korvex.exe /N", FALSE},
        {L"korvex.exe n", FALSE}, // a plain argument
        {L"korvex.exe /nn", FALSE},
        {L"korvex.exe --n", FALSE},
        // Switches the platform's frameworks know do nothing here.
        {L"korvex.exe /Unregister /Embedding /p file.txt", FALSE},
        // The program's own path is never an argument, even if it looks like the switch.
        {L"-n", FALSE},
    };
    for (const auto& oCase : arrCases) {
        CKorvexCommandLineInfo oInfo;
        oInfo.ParseCommandLine(oCase.pszLine);
        EXPECT_EQ(oInfo.m_bShowAtStart, oCase.bShown) << oCase.pszLine;
    }
}
