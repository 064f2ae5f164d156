#pragma once
// cliptool.exe, "another program" on the clipboard, and the UTF-8 it prints.

#include <windows.h>

#include <string>

#include "clipboard/ClipboardText.h"
#include "tests/support/win/ChildProcess.h"
#include "tests/support/win/MessagePump.h"

struct ClipToolResult {
    DWORD nExitCode; // STILL_ACTIVE when it did not start or end in time
    std::string strOutput;
};

inline std::wstring ClipToolCommand(const std::wstring& strArguments) {
    return L"\"" + wintest::ProgramPath(L"cliptool.exe") + L"\" " + strArguments;
}

// Runs cliptool with the arguments to its end (bounded).
inline ClipToolResult RunClipTool(const std::wstring& strArguments) {
    wintest::CChildProcess oTool;
    if (!oTool.Start(ClipToolCommand(strArguments))) {
        return {STILL_ACTIVE, {}};
    }
    oTool.WaitForExit(15000);
    return {oTool.ExitCode(), oTool.Output()};
}

inline std::string ToUtf8(const std::u16string& strText) {
    const auto* pWide = reinterpret_cast<const wchar_t*>(strText.data());
    const int nWide = static_cast<int>(strText.size());
    std::string strUtf8(WideCharToMultiByte(CP_UTF8, 0, pWide, nWide, nullptr, 0, nullptr, nullptr),
                        '\0');
    WideCharToMultiByte(CP_UTF8, 0, pWide, nWide, strUtf8.data(), static_cast<int>(strUtf8.size()),
                        nullptr, nullptr);
    return strUtf8;
}

// A read as Korvex makes it: tried again from the message loop while another window holds the
// clipboard for a moment, for 2 s at most.
inline ClipboardRead ReadWhenFree(HWND hOwner, uint64_t nMaxBytes) {
    ClipboardRead oRead;
    wintest::PumpUntil(
        [&] {
            oRead = ReadClipboardText(hOwner, nMaxBytes);
            return oRead.nStatus != ClipboardReadStatus::Busy;
        },
        2000);
    return oRead;
}
