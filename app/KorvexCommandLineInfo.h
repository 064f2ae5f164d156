#pragma once
// What Korvex takes from its command line: only whether the main window stays shown at start.

#include <windows.h>

class CKorvexCommandLineInfo {
public:
    CKorvexCommandLineInfo() = default;
    virtual ~CKorvexCommandLineInfo() = default;

    // Called once per argument, in order. For an argument that begins with '/' or '-',
    // pszParam is what follows that character and bFlag is TRUE; otherwise pszParam is the
    // whole argument and bFlag is FALSE. bLast is TRUE for the last argument.
    virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast);

    // Splits a command line as the system does (the first token is the program) and hands
    // every argument after the program to ParseParam.
    void ParseCommandLine(const wchar_t* pszCommandLine);

    BOOL m_bShowAtStart = FALSE;
};
