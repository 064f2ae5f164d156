// cliptool: "another program" for the tests. It puts text on the Win32 clipboard, reads it,
// or holds the clipboard open, exactly as the test asks.
//
//   cliptool write-utf8 <text>     the argument as CF_UNICODETEXT
//   cliptool write-file <path>     the UTF-8 contents of a file as CF_UNICODETEXT
//   cliptool write-ansi <text>     the argument in the ANSI code page, as CF_TEXT only
//   cliptool write-raw <hex>       the given bytes as a CF_UNICODETEXT block, unchanged
//   cliptool write-size <bytes>    a CF_UNICODETEXT block of exactly that many bytes: 'x'
//                                  units, a NUL unit at the end (and a zero byte if odd)
//   cliptool empty                 empties the clipboard
//   cliptool read                  prints the Unicode text as UTF-8 (no newline added)
//   cliptool read-hex              prints the whole CF_UNICODETEXT block as hex bytes
//   cliptool hold <ms> [text]      opens the clipboard (puts the text on it if given), prints
//                                  "holding", keeps it open that long, closes it
//   cliptool seq                   prints the clipboard sequence number
//
// Exit codes: 0 done, 1 usage, 2 clipboard could not be opened, 3 the clipboard refused the
// data, 4 no text on the clipboard, 5 unreadable input, 6 no memory.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

HGLOBAL MakeBlock(const void* pData, size_t nBytes) {
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, nBytes);
    if (hBlock == nullptr) {
        return nullptr;
    }
    void* pBlock = GlobalLock(hBlock);
    if (pBlock == nullptr) {
        GlobalFree(hBlock);
        return nullptr;
    }
    if (pData != nullptr) {
        std::memcpy(pBlock, pData, nBytes);
    }
    GlobalUnlock(hBlock);
    return hBlock;
}

// Empties the clipboard and hands it the block (when there is one); the clipboard is open.
int PutBlock(UINT nFormat, HGLOBAL hBlock) {
    if (!EmptyClipboard()) {
        GlobalFree(hBlock);
        return kRefused;
    }
    if (hBlock != nullptr && SetClipboardData(nFormat, hBlock) == nullptr) {
        GlobalFree(hBlock);
        return kRefused;
    }
    return kDone;
}

int WriteBlock(HWND hOwner, UINT nFormat, HGLOBAL hBlock) {
    if (!OpenClipboardPatiently(hOwner)) {
        GlobalFree(hBlock);
        return kNoOpen;
    }
    const int nResult = PutBlock(nFormat, hBlock);
    CloseClipboard();
    return nResult;
}

int WriteUnicode(HWND hOwner, const std::wstring& strText) {
    HGLOBAL hBlock = MakeBlock(strText.c_str(), (strText.size() + 1) * sizeof(wchar_t));
    return hBlock ? WriteBlock(hOwner, CF_UNICODETEXT, hBlock) : kNoMemory;
}

bool Utf8ToWide(const std::string& strUtf8, std::wstring& strWide) {
    strWide.clear();
    if (strUtf8.empty()) {
        return true;
    }
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8.data(),
                                      static_cast<int>(strUtf8.size()), nullptr, 0);
    if (n <= 0) {
        return false;
    }
    strWide.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8.data(),
                        static_cast<int>(strUtf8.size()), strWide.data(), n);
    return true;
}

bool ReadFileBytes(const wchar_t* pszPath, std::string& strBytes) {
    FILE* pFile = _wfopen(pszPath, L"rb");
    if (pFile == nullptr) {
        return false;
    }
    char aBuffer[65536];
    size_t n;
    while ((n = std::fread(aBuffer, 1, sizeof aBuffer, pFile)) > 0) {
        strBytes.append(aBuffer, n);
    }
    const bool bOk = !std::ferror(pFile);
    std::fclose(pFile);
    return bOk;
}

bool ParseHex(const wchar_t* pszHex, std::vector<unsigned char>& vecBytes) {
    const size_t nLength = wcslen(pszHex);
    if (nLength == 0 || nLength % 2 != 0) {
        return false;
    }
    for (size_t i = 0; i < nLength; i += 2) {
        const wchar_t aPair[3] = {pszHex[i], pszHex[i + 1], 0};
        wchar_t* pEnd = nullptr;
        const unsigned long nByte = wcstoul(aPair, &pEnd, 16);
        if (pEnd != aPair + 2) {
            return false;
        }
        vecBytes.push_back(static_cast<unsigned char>(nByte));
    }
    return true;
}

int WriteSize(HWND hOwner, const wchar_t* pszBytes) {
    wchar_t* pEnd = nullptr;
    const unsigned long long nBytes = wcstoull(pszBytes, &pEnd, 10);
    if (*pszBytes == 0 || *pEnd != 0 || nBytes < 2 || nBytes > 0x7FFFFFFFull) {
        return kUsage;
    }
    std::vector<unsigned char> vecBlock(static_cast<size_t>(nBytes), 0);
    const size_t nUnits = vecBlock.size() / 2;
    for (size_t i = 0; i + 1 < nUnits; ++i) {
        vecBlock[2 * i] = 'x';
    }
    HGLOBAL hBlock = MakeBlock(vecBlock.data(), vecBlock.size());
    return hBlock ? WriteBlock(hOwner, CF_UNICODETEXT, hBlock) : kNoMemory;
}

int WriteAnsi(HWND hOwner, const std::wstring& strText) {
    std::string strAnsi;
    if (!strText.empty()) {
        BOOL bLost = FALSE;
        const int n =
            WideCharToMultiByte(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()),
                                nullptr, 0, nullptr, &bLost);
        if (n <= 0 || bLost) {
            return kBadInput; // not representable in the ANSI code page
        }
        strAnsi.resize(static_cast<size_t>(n));
        WideCharToMultiByte(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()),
                            strAnsi.data(), n, nullptr, nullptr);
    }
    HGLOBAL hBlock = MakeBlock(strAnsi.c_str(), strAnsi.size() + 1);
    return hBlock ? WriteBlock(hOwner, CF_TEXT, hBlock) : kNoMemory;
}

// Copies the CF_UNICODETEXT block, whole, out of the clipboard.
int ReadUnicodeBlock(HWND hOwner, std::vector<unsigned char>& vecBlock) {
    if (!OpenClipboardPatiently(hOwner)) {
        return kNoOpen;
    }
    int nResult = kNoText;
    HANDLE hData = GetClipboardData(CF_UNICODETEXT);
    if (hData != nullptr) {
        const SIZE_T nSize = GlobalSize(hData);
        const void* pData = GlobalLock(hData);
        if (pData != nullptr) {
            vecBlock.assign(static_cast<const unsigned char*>(pData),
                            static_cast<const unsigned char*>(pData) + nSize);
            GlobalUnlock(hData);
            nResult = kDone;
        }
    }
    CloseClipboard();
    return nResult;
}

int ReadText(HWND hOwner, bool bHex) {
    std::vector<unsigned char> vecBlock;
    const int nResult = ReadUnicodeBlock(hOwner, vecBlock);
    if (nResult != kDone) {
        return nResult;
    }
    if (bHex) {
        for (unsigned char nByte : vecBlock) {
            std::printf("%02x", nByte);
        }
        std::printf("\n");
        return kDone;
    }
    std::wstring strText(vecBlock.size() / 2, L'\0');
    std::memcpy(strText.data(), vecBlock.data(), strText.size() * sizeof(wchar_t));
    strText.resize(wcsnlen(strText.c_str(), strText.size()));
    if (!strText.empty()) {
        const int n =
            WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                                nullptr, 0, nullptr, nullptr);
        std::string strUtf8(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                            strUtf8.data(), n, nullptr, nullptr);
        std::fwrite(strUtf8.data(), 1, strUtf8.size(), stdout);
    }
    return kDone;
}

int Hold(HWND hOwner, const wchar_t* pszMs, const wchar_t* pszText) {
    const DWORD nMs = static_cast<DWORD>(wcstoul(pszMs, nullptr, 10));
    if (!OpenClipboardPatiently(hOwner)) {
        return kNoOpen;
    }
    int nResult = kDone;
    if (pszText != nullptr) {
        const std::wstring strText(pszText);
        HGLOBAL hBlock = MakeBlock(strText.c_str(), (strText.size() + 1) * sizeof(wchar_t));
        nResult = hBlock ? PutBlock(CF_UNICODETEXT, hBlock) : kNoMemory;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    Sleep(nMs);
    CloseClipboard();
    return nResult;
}

int Run(HWND hOwner, int argc, wchar_t** argv) {
    if (argc < 2) {
        return kUsage;
    }
    const std::wstring strCommand(argv[1]);
    if (strCommand == L"write-utf8" && argc == 3) {
        return WriteUnicode(hOwner, argv[2]);
    }
    if (strCommand == L"write-file" && argc == 3) {
        std::string strBytes;
        std::wstring strText;
        if (!ReadFileBytes(argv[2], strBytes) || !Utf8ToWide(strBytes, strText)) {
            return kBadInput;
        }
        return WriteUnicode(hOwner, strText);
    }
    if (strCommand == L"write-ansi" && argc == 3) {
        return WriteAnsi(hOwner, argv[2]);
    }
    if (strCommand == L"write-raw" && argc == 3) {
        std::vector<unsigned char> vecBytes;
        if (!ParseHex(argv[2], vecBytes)) {
            return kBadInput;
        }
        HGLOBAL hBlock = MakeBlock(vecBytes.data(), vecBytes.size());
        return hBlock ? WriteBlock(hOwner, CF_UNICODETEXT, hBlock) : kNoMemory;
    }
    if (strCommand == L"write-size" && argc == 3) {
        return WriteSize(hOwner, argv[2]);
    }
    if (strCommand == L"empty" && argc == 2) {
        return WriteBlock(hOwner, 0, nullptr);
    }
    if ((strCommand == L"read" || strCommand == L"read-hex") && argc == 2) {
        return ReadText(hOwner, strCommand == L"read-hex");
    }
    if (strCommand == L"hold" && (argc == 3 || argc == 4)) {
        return Hold(hOwner, argv[2], argc == 4 ? argv[3] : nullptr);
    }
    if (strCommand == L"seq" && argc == 2) {
        std::printf("%lu\n", GetClipboardSequenceNumber());
        return kDone;
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
        std::fprintf(stderr,
                     "usage: cliptool write-utf8|write-file|write-ansi|write-raw|"
                     "write-size <arg> | empty | read | read-hex | hold <ms> [text] | seq\n");
    }
    if (hOwner != nullptr) {
        DestroyWindow(hOwner);
    }
    return nResult;
}
