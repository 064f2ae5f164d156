#include "KorvexCommandLineInfo.h"

#include <shellapi.h>

#include <cwchar>

void CKorvexCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL /*bLast*/) {
    // Plain arguments never open anything: the history always starts empty. The only switch
    // is "n" (exactly, lower case); every other switch is ignored.
    if (bFlag && std::wcscmp(pszParam, L"n") == 0) {
        m_bShowAtStart = TRUE;
    }
}

void CKorvexCommandLineInfo::ParseCommandLine(const wchar_t* pszCommandLine) {
    if (pszCommandLine == nullptr || *pszCommandLine == L'\0') {
        return;
    }
    int nArgs = 0;
    LPWSTR* ppszArgs = CommandLineToArgvW(pszCommandLine, &nArgs);
    if (ppszArgs == nullptr) {
        return;
    }
    for (int i = 1; i < nArgs; ++i) {
        const wchar_t* pszArg = ppszArgs[i];
        const BOOL bFlag = (pszArg[0] == L'/' || pszArg[0] == L'-') ? TRUE : FALSE;
        ParseParam(bFlag ? pszArg + 1 : pszArg, bFlag, i + 1 == nArgs ? TRUE : FALSE);
    }
    LocalFree(ppszArgs);
}
