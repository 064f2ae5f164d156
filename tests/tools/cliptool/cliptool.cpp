// cliptool: "another program" for the tests. It puts text on the Win32 clipboard, reads it,
// or holds the clipboard open, exactly as the test asks.
//
//   cliptool write-utf8 <text>     the argument as CF_UNICODETEXT
//   cliptool write-file <path>     the UTF-8 contents of a file as CF_UNICODETEXT
//   cliptool write-ansi <text>     the argument in the ANSI code page, as CF_TEXT only
//   cliptool write-raw <hex>       the given bytes as a CF_UNICODETEXT block, unchanged ("" for
//                                  a block of no bytes)
//   cliptool write-size <bytes>    a CF_UNICODETEXT block of exactly that many bytes: 'x'
//                                  units, a NUL unit at the end (and a zero byte if odd)
//   cliptool write-stay <ms> <text>  as write-utf8, then prints "copied" and keeps its owner
//                                  window (the clipboard's owner) that long
//   cliptool write-marked <marker> <text>
//                                  the argument as CF_UNICODETEXT with a private marker:
//                                  exclude, viewer-ignore, history-0, history-1 or
//                                  history-short (a 2-byte "CanIncludeInClipboardHistory")
//   cliptool write-delayed <ms>    offers CF_UNICODETEXT for delayed rendering, prints
//                                  "holding", then renders nothing when asked for that long
//   cliptool read                  prints the Unicode text as UTF-8 (no newline added)
//   cliptool read-hex              prints the whole CF_UNICODETEXT block as hex bytes
//   cliptool hold <ms> [text]      opens the clipboard (puts the text on it if given), prints
//                                  "holding", keeps it open that long, closes it
//
// Exit codes: 0 done, 1 usage, 2 clipboard could not be opened, 3 the clipboard refused the
// data, 4 no text on the clipboard, 5 unreadable input, 6 no memory.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace {

enum ExitCode {
    kDone = 0,
    kUsage = 1,
    kNoOpen = 2,
    kRefused = 3,
    kNoText = 4,
    kBadInput = 5,
    kNoMemory = 6
};

// Another program is patient: it tries to open the clipboard for up to 5 s.
bool OpenClipboardPatiently(HWND hOwner) {
    for (int i = 0; i < 500; ++i) {
        if (OpenClipboard(hOwner)) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

// Adds the bytes to the open clipboard in the format.
int PutBlock(UINT nFormat, const std::string& strBytes) {
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, strBytes.size());
    void* pBlock = hBlock ? GlobalLock(hBlock) : nullptr;
    if (pBlock == nullptr && !strBytes.empty()) {
        GlobalFree(hBlock);
        return kNoMemory;
    }
    if (pBlock != nullptr) {
        std::memcpy(pBlock, strBytes.data(), strBytes.size());
        GlobalUnlock(hBlock);
    }
    if (SetClipboardData(nFormat, hBlock) == nullptr) {
        GlobalFree(hBlock);
        return kRefused;
    }
    return kDone;
}

// Empties the open clipboard and puts the bytes on it in the format.
int Put(UINT nFormat, const std::string& strBytes) {
    return EmptyClipboard() ? PutBlock(nFormat, strBytes) : kRefused;
}

int Write(HWND hOwner, UINT nFormat, const std::string& strBytes) {
    if (!OpenClipboardPatiently(hOwner)) {
        return kNoOpen;
    }
    const int nResult = Put(nFormat, strBytes);
    CloseClipboard();
    return nResult;
}

// The registered format and block of a private marker, as programs that copy secrets add them.
std::optional<std::pair<UINT, std::string>> Marker(const std::wstring& strMarker) {
    const std::string strZero(4, '\0');
    const std::string strOne("\x01\0\0\0", 4);
    const struct {
        const wchar_t* pszMarker;
        const wchar_t* pszFormat;
        std::string strBlock;
    } arrMarkers[] = {
        {L"exclude", L"ExcludeClipboardContentFromMonitorProcessing", strZero},
        {L"viewer-ignore", L"Clipboard Viewer Ignore", strZero},
        {L"history-0", L"CanIncludeInClipboardHistory", strZero},
        {L"history-1", L"CanIncludeInClipboardHistory", strOne},
        {L"history-short", L"CanIncludeInClipboardHistory", std::string(2, '\0')},
    };
    for (const auto& oMarker : arrMarkers) {
        if (strMarker == oMarker.pszMarker) {
            return std::make_pair(RegisterClipboardFormatW(oMarker.pszFormat), oMarker.strBlock);
        }
    }
    return std::nullopt;
}

// The text as CF_UNICODETEXT together with the marker, in one change of the clipboard.
int WriteMarked(HWND hOwner, const std::wstring& strMarker, const std::string& strText) {
    const auto optMarker = Marker(strMarker);
    if (!optMarker) {
        return kUsage;
    }
    if (!OpenClipboardPatiently(hOwner)) {
        return kNoOpen;
    }
    int nResult = Put(CF_UNICODETEXT, strText);
    if (nResult == kDone) {
        nResult = PutBlock(optMarker->first, optMarker->second);
    }
    CloseClipboard();
    return nResult;
}

// Handles the messages of this thread for nMs.
void PumpFor(ULONGLONG nMs) {
    const ULONGLONG nEnd = GetTickCount64() + nMs;
    for (ULONGLONG nNow; (nNow = GetTickCount64()) < nEnd;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(nEnd - nNow), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
}

// Offers CF_UNICODETEXT for delayed rendering and then renders nothing when asked, for nMs.
int WriteDelayed(HWND hOwner, const wchar_t* pszMs) {
    if (!OpenClipboardPatiently(hOwner)) {
        return kNoOpen;
    }
    const bool bOffered = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, nullptr) == nullptr;
    CloseClipboard();
    std::printf("holding\n");
    std::fflush(stdout);
    // The owner window (a STATIC) answers WM_RENDERFORMAT without rendering anything.
    PumpFor(wcstoul(pszMs, nullptr, 10));
    return bOffered ? kDone : kRefused;
}

// The text's UTF-16 units and a NUL, as a CF_UNICODETEXT block holds them.
std::string UnicodeBlock(const std::wstring& strText) {
    return std::string(reinterpret_cast<const char*>(strText.c_str()),
                       (strText.size() + 1) * sizeof(wchar_t));
}

std::optional<std::wstring> FileText(const wchar_t* pszPath) {
    FILE* pFile = _wfopen(pszPath, L"rb");
    if (pFile == nullptr) {
        return std::nullopt;
    }
    std::string strUtf8;
    char aBuffer[65536];
    for (size_t n; (n = std::fread(aBuffer, 1, sizeof aBuffer, pFile)) > 0;) {
        strUtf8.append(aBuffer, n);
    }
    const bool bRead = !std::ferror(pFile);
    std::fclose(pFile);
    const int nUtf8 = static_cast<int>(strUtf8.size());
    std::wstring strText(
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8.data(), nUtf8, nullptr, 0),
        L'\0');
    if (!bRead || strText.empty() != strUtf8.empty()) {
        return std::nullopt;
    }
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8.data(), nUtf8, strText.data(),
                        static_cast<int>(strText.size()));
    return strText;
}

// The text in the ANSI code page with its zero byte; nullopt when it cannot be represented.
std::optional<std::string> AnsiBlock(const std::wstring& strText) {
    const int nWide = static_cast<int>(strText.size());
    BOOL bLost = FALSE;
    std::string strAnsi(
        WideCharToMultiByte(CP_ACP, 0, strText.data(), nWide, nullptr, 0, nullptr, &bLost), '\0');
    if (bLost || strAnsi.empty() != strText.empty()) {
        return std::nullopt;
    }
    WideCharToMultiByte(CP_ACP, 0, strText.data(), nWide, strAnsi.data(),
                        static_cast<int>(strAnsi.size()), nullptr, nullptr);
    return strAnsi + '\0';
}

std::optional<std::string> HexBytes(const std::wstring& strHex) {
    if (strHex.size() % 2 != 0 ||
        strHex.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos) {
        return std::nullopt;
    }
    std::string strBytes;
    for (size_t i = 0; i < strHex.size(); i += 2) {
        strBytes.push_back(static_cast<char>(std::stoi(strHex.substr(i, 2), nullptr, 16)));
    }
    return strBytes;
}

// 'x' units and a NUL unit, exactly nBytes long (an odd last byte is zero).
std::optional<std::string> SizedBlock(const wchar_t* pszBytes) {
    wchar_t* pEnd = nullptr;
    const unsigned long long nBytes = wcstoull(pszBytes, &pEnd, 10);
    if (*pszBytes == 0 || *pEnd != 0 || nBytes < 2 || nBytes > 0x7FFFFFFFull) {
        return std::nullopt;
    }
    std::string strBlock(static_cast<size_t>(nBytes), '\0');
    for (size_t i = 0; i + 1 < nBytes / 2; ++i) {
        strBlock[2 * i] = 'x';
    }
    return strBlock;
}

int Read(HWND hOwner, bool bHex) {
    if (!OpenClipboardPatiently(hOwner)) {
        return kNoOpen;
    }
    std::string strBlock;
    HANDLE hData = GetClipboardData(CF_UNICODETEXT);
    const char* pData = hData ? static_cast<const char*>(GlobalLock(hData)) : nullptr;
    if (pData != nullptr) {
        strBlock.assign(pData, GlobalSize(hData));
        GlobalUnlock(hData);
    }
    CloseClipboard();
    if (pData == nullptr) {
        return kNoText;
    }
    if (bHex) {
        for (const unsigned char nByte : strBlock) {
            std::printf("%02x", nByte);
        }
        std::printf("\n");
        return kDone;
    }
    std::wstring strText(strBlock.size() / 2, L'\0');
    std::memcpy(strText.data(), strBlock.data(), strText.size() * sizeof(wchar_t));
    strText.resize(wcsnlen(strText.c_str(), strText.size()));
    const int nWide = static_cast<int>(strText.size());
    std::string strUtf8(
        WideCharToMultiByte(CP_UTF8, 0, strText.data(), nWide, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strText.data(), nWide, strUtf8.data(),
                        static_cast<int>(strUtf8.size()), nullptr, nullptr);
    std::fwrite(strUtf8.data(), 1, strUtf8.size(), stdout);
    return kDone;
}

int Hold(HWND hOwner, const wchar_t* pszMs, const wchar_t* pszText) {
    if (!OpenClipboardPatiently(hOwner)) {
        return kNoOpen;
    }
    const int nResult = pszText ? Put(CF_UNICODETEXT, UnicodeBlock(pszText)) : kDone;
    std::printf("holding\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(wcstoul(pszMs, nullptr, 10)));
    CloseClipboard();
    return nResult;
}

// Writes the block when there is one, else reports the bad input.
int WriteIfValid(HWND hOwner, UINT nFormat, const std::optional<std::string>& optBytes,
                 int nInvalid) {
    return optBytes ? Write(hOwner, nFormat, *optBytes) : nInvalid;
}

int Run(HWND hOwner, int argc, wchar_t** argv) {
    const std::wstring strCommand = argc >= 2 ? argv[1] : L"";
    const wchar_t* pszArgument = argc == 3 ? argv[2] : nullptr;
    if (strCommand == L"write-utf8" && pszArgument) {
        return Write(hOwner, CF_UNICODETEXT, UnicodeBlock(pszArgument));
    }
    if (strCommand == L"write-file" && pszArgument) {
        const std::optional<std::wstring> optText = FileText(pszArgument);
        return optText ? Write(hOwner, CF_UNICODETEXT, UnicodeBlock(*optText)) : kBadInput;
    }
    if (strCommand == L"write-ansi" && pszArgument) {
        return WriteIfValid(hOwner, CF_TEXT, AnsiBlock(pszArgument), kBadInput);
    }
    if (strCommand == L"write-raw" && pszArgument) {
        return WriteIfValid(hOwner, CF_UNICODETEXT, HexBytes(pszArgument), kBadInput);
    }
    if (strCommand == L"write-size" && pszArgument) {
        return WriteIfValid(hOwner, CF_UNICODETEXT, SizedBlock(pszArgument), kUsage);
    }
    if (strCommand == L"write-stay" && argc == 4) {
        const int nResult = Write(hOwner, CF_UNICODETEXT, UnicodeBlock(argv[3]));
        std::printf(nResult == kDone ? "copied\n" : "failed\n");
        std::fflush(stdout);
        PumpFor(wcstoul(argv[2], nullptr, 10));
        return nResult;
    }
    if (strCommand == L"write-marked" && argc == 4) {
        return WriteMarked(hOwner, argv[2], UnicodeBlock(argv[3]));
    }
    if (strCommand == L"write-delayed" && pszArgument) {
        return WriteDelayed(hOwner, pszArgument);
    }
    if ((strCommand == L"read" || strCommand == L"read-hex") && argc == 2) {
        return Read(hOwner, strCommand == L"read-hex");
    }
    if (strCommand == L"hold" && (argc == 3 || argc == 4)) {
        return Hold(hOwner, argv[2], argc == 4 ? argv[3] : nullptr);
    }
    return kUsage;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    // The clipboard wants an owner window for its data; a message-only window will do.
    HWND hOwner = CreateWindowExW(0, L"STATIC", L"cliptool", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    const int nResult = Run(hOwner, argc, argv);
    if (nResult == kUsage) {
        std::fprintf(stderr, "usage: cliptool write-utf8|write-file|write-ansi|write-raw|"
                             "write-size|write-delayed <arg> | write-stay <ms> <text> | "
                             "write-marked <marker> <text> | "
                             "read | read-hex | hold <ms> [text]\n");
    }
    if (hOwner != nullptr) {
        DestroyWindow(hOwner);
    }
    return nResult;
}
