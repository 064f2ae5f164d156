#include "store/Win32HistoryFileStore.h"

#include <bcrypt.h>
#include <dpapi.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// The piece of the file that Load reads at a time.
constexpr uint64_t kLoadChunkBytes = 1 << 20;

// Mixed into every protection, so that a blob another program protected for the same user
// does not open as a key of ours.
constexpr char kEntropy[] = "Korvex kept history key";

DATA_BLOB EntropyBlob() {
    return {static_cast<DWORD>(sizeof(kEntropy) - 1),
            reinterpret_cast<BYTE*>(const_cast<char*>(kEntropy))};
}

// Writes all the bytes; a short write is a failure.
bool WriteAll(HANDLE hFile, std::span<const uint8_t> bytes) {
    constexpr size_t kChunk = size_t{1} << 30;
    while (!bytes.empty()) {
        const auto nAsk = static_cast<DWORD>(std::min(bytes.size(), kChunk));
        DWORD nWritten = 0;
        if (!WriteFile(hFile, bytes.data(), nAsk, &nWritten, nullptr) || nWritten != nAsk) {
            return false;
        }
        bytes = bytes.subspan(nAsk);
    }
    return true;
}

void CloseFile(HANDLE& hFile) {
    if (hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(hFile);
        hFile = INVALID_HANDLE_VALUE;
    }
}

// Creates the folder that holds the file (its parent must exist).
void CreateParentFolder(const std::wstring& strPath) {
    const size_t nSlash = strPath.find_last_of(L"\\/");
    if (nSlash != std::wstring::npos && nSlash > 0) {
        CreateDirectoryW(strPath.substr(0, nSlash).c_str(), nullptr); // fails when it exists
    }
}

} // namespace

// From the environment rather than the shell's folder functions: shell32.dll is loaded late
// (it costs a start several milliseconds), and the history is read early.
std::wstring DefaultHistoryFilePath() {
    auto Variable = [](const wchar_t* pszName) {
        std::wstring str(MAX_PATH, L'\0');
        DWORD n = GetEnvironmentVariableW(pszName, str.data(), static_cast<DWORD>(str.size()));
        if (n >= str.size()) {
            str.resize(n);
            n = GetEnvironmentVariableW(pszName, str.data(), static_cast<DWORD>(str.size()));
        }
        str.resize(n < str.size() ? n : 0);
        return str;
    };
    std::wstring strFolder = Variable(L"LOCALAPPDATA");
    if (strFolder.empty()) {
        strFolder = Variable(L"USERPROFILE");
        if (strFolder.empty()) {
            return {};
        }
        strFolder += L"\\AppData\\Local";
    }
    return strFolder + L"\\Korvex\\History.dat";
}

std::optional<AeadKey> UnprotectHistoryKey(std::span<const uint8_t> blob) {
    if (blob.empty() || blob.size() > MAXDWORD) {
        return std::nullopt;
    }
    DATA_BLOB oIn{static_cast<DWORD>(blob.size()), const_cast<BYTE*>(blob.data())};
    DATA_BLOB oEntropy = EntropyBlob();
    DATA_BLOB oOut{};
    if (!CryptUnprotectData(&oIn, nullptr, &oEntropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                            &oOut)) {
        return std::nullopt;
    }
    std::optional<AeadKey> optKey;
    if (oOut.cbData == kAeadKeySize) {
        optKey.emplace();
        std::copy_n(oOut.pbData, kAeadKeySize, optKey->begin());
    }
    SecureZeroMemory(oOut.pbData, oOut.cbData);
    LocalFree(oOut.pbData);
    return optKey;
}

StoredFileBytes ReadStoredFile(const std::wstring& strPath, uint64_t nMaxBytes) {
    StoredFileBytes oRead;
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        const DWORD nError = GetLastError();
        oRead.nResult = nError == ERROR_FILE_NOT_FOUND || nError == ERROR_PATH_NOT_FOUND
                            ? StoredFileRead::Missing
                            : StoredFileRead::Failed;
        return oRead;
    }
    LARGE_INTEGER nSize{};
    oRead.nResult = StoredFileRead::Failed;
    if (!GetFileSizeEx(hFile, &nSize) || nSize.QuadPart < 0) {
        CloseHandle(hFile);
        return oRead;
    }
    if (static_cast<uint64_t>(nSize.QuadPart) > nMaxBytes) {
        CloseHandle(hFile);
        oRead.nResult = StoredFileRead::TooLarge;
        return oRead;
    }
    try {
        oRead.arrBytes.resize(static_cast<size_t>(nSize.QuadPart));
    } catch (const std::bad_alloc&) {
        CloseHandle(hFile);
        return oRead;
    }
    // Read to the size found; a file that shrank meanwhile gives what it still holds.
    size_t nDone = 0;
    bool bOk = true;
    while (nDone < oRead.arrBytes.size()) {
        const auto nAsk =
            static_cast<DWORD>(std::min<size_t>(oRead.arrBytes.size() - nDone, size_t{1} << 24));
        DWORD nGot = 0;
        if (!ReadFile(hFile, oRead.arrBytes.data() + nDone, nAsk, &nGot, nullptr)) {
            bOk = false;
            break;
        }
        if (nGot == 0) {
            break;
        }
        nDone += nGot;
    }
    CloseHandle(hFile);
    oRead.arrBytes.resize(bOk ? nDone : 0);
    oRead.nResult = bOk ? StoredFileRead::Read : StoredFileRead::Failed;
    return oRead;
}

CWin32HistoryFileStore::CWin32HistoryFileStore(std::wstring strPath)
    : m_strPath(std::move(strPath)) {}

CWin32HistoryFileStore::~CWin32HistoryFileStore() {
    CloseAppend();
    AbandonReplacement();
}

LoadedHistory CWin32HistoryFileStore::Load(bool* pbTellUser) {
    *pbTellUser = false;
    LoadedHistory oLoaded;
    HANDLE hFile = CreateFileW(m_strPath.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LARGE_INTEGER nSize{};
    if (hFile == INVALID_HANDLE_VALUE) {
        const DWORD nError = GetLastError();
        if (nError == ERROR_FILE_NOT_FOUND || nError == ERROR_PATH_NOT_FOUND) {
            return oLoaded; // nothing kept yet
        }
        oLoaded.nStatus = HistoryFileStatus::Damaged;
    } else if (!GetFileSizeEx(hFile, &nSize) || nSize.QuadPart < 0) {
        oLoaded.nStatus = HistoryFileStatus::Damaged;
    } else if (static_cast<uint64_t>(nSize.QuadPart) > kMaxHistoryFileBytes) {
        oLoaded.nStatus = HistoryFileStatus::NotAHistory;
    } else {
        // Read through one reused buffer (it only ever holds cipher text): the file is never
        // held whole beside the entries it gives.
        const auto nFileBytes = static_cast<uint64_t>(nSize.QuadPart);
        std::vector<uint8_t> arrChunk(
            static_cast<size_t>(std::min<uint64_t>(nFileBytes, kLoadChunkBytes)));
        size_t nHave = 0;
        size_t nUsed = 0;
        auto ReadInto = [&](uint8_t* p, size_t nBytes) {
            while (nBytes > 0) {
                const auto nAsk = static_cast<DWORD>(std::min<size_t>(nBytes, size_t{1} << 30));
                DWORD nGot = 0;
                if (!ReadFile(hFile, p, nAsk, &nGot, nullptr) || nGot == 0) {
                    return false;
                }
                p += nGot;
                nBytes -= nGot;
            }
            return true;
        };
        auto fnRead = [&](std::span<uint8_t> out) {
            size_t nDone = 0;
            while (nDone < out.size()) {
                if (nUsed == nHave) {
                    if (out.size() - nDone >= arrChunk.size()) {
                        return ReadInto(out.data() + nDone, out.size() - nDone); // a large record
                    }
                    DWORD nGot = 0;
                    if (!ReadFile(hFile, arrChunk.data(), static_cast<DWORD>(arrChunk.size()),
                                  &nGot, nullptr) ||
                        nGot == 0) {
                        return false;
                    }
                    nHave = nGot;
                    nUsed = 0;
                }
                const size_t n = std::min(out.size() - nDone, nHave - nUsed);
                std::memcpy(out.data() + nDone, arrChunk.data() + nUsed, n);
                nUsed += n;
                nDone += n;
            }
            return true;
        };
        oLoaded = ReadHistoryFile(nFileBytes, fnRead, UnprotectHistoryKey);
    }
    if (hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(hFile);
    }
    if (IsUnreadable(oLoaded.nStatus)) {
        *pbTellUser = true;
        m_bHeld = !KeepUnreadable();
    }
    return oLoaded;
}

bool CWin32HistoryFileStore::KeepUnreadable() {
    CloseAppend();
    return MoveFileExW(m_strPath.c_str(), GetUnreadablePath().c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool CWin32HistoryFileStore::Append(std::span<const uint8_t> bytes) {
    if (m_bHeld || m_strPath.empty()) {
        return false;
    }
    if (m_hAppend == INVALID_HANDLE_VALUE) {
        // Only an existing file is continued: one deleted behind our back is written anew by
        // the writer, header first.
        m_hAppend = CreateFileW(m_strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_hAppend == INVALID_HANDLE_VALUE) {
            return false;
        }
    }
    const LARGE_INTEGER nZero{};
    if (!SetFilePointerEx(m_hAppend, nZero, nullptr, FILE_END) || !WriteAll(m_hAppend, bytes) ||
        !FlushFileBuffers(m_hAppend)) {
        CloseAppend();
        return false;
    }
    return true;
}

bool CWin32HistoryFileStore::BeginReplace() {
    // The file is renamed over at the end: no handle of ours may hold it open then.
    CloseAppend();
    AbandonReplacement();
    if (m_bHeld || m_strPath.empty()) {
        return false;
    }
    CreateParentFolder(m_strPath);
    m_hReplacement = CreateFileW(GetReplacementPath().c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    m_bReplacementFailed = false;
    return m_hReplacement != INVALID_HANDLE_VALUE;
}

bool CWin32HistoryFileStore::WriteReplacement(std::span<const uint8_t> bytes) {
    if (m_hReplacement == INVALID_HANDLE_VALUE || m_bReplacementFailed) {
        return false;
    }
    m_bReplacementFailed = !WriteAll(m_hReplacement, bytes);
    return !m_bReplacementFailed;
}

bool CWin32HistoryFileStore::EndReplace(bool bCommit) {
    if (m_hReplacement == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (!bCommit || m_bReplacementFailed || !FlushFileBuffers(m_hReplacement)) {
        AbandonReplacement();
        return !bCommit;
    }
    CloseFile(m_hReplacement);
    if (!MoveFileExW(GetReplacementPath().c_str(), m_strPath.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(GetReplacementPath().c_str());
        return false;
    }
    return true;
}

void CWin32HistoryFileStore::Delete() {
    CloseAppend();
    AbandonReplacement();
    if (m_bHeld || m_strPath.empty()) {
        return;
    }
    DeleteFileW(m_strPath.c_str());
    DeleteFileW(GetReplacementPath().c_str()); // a stale one a kill left behind
}

std::optional<HistoryFileKey> CWin32HistoryFileStore::NewKey() {
    if (m_bHeld) {
        return std::nullopt;
    }
    AeadKey oKey{};
    std::optional<HistoryFileKey> optResult;
    if (BCRYPT_SUCCESS(BCryptGenRandom(nullptr, oKey.data(), static_cast<ULONG>(oKey.size()),
                                       BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        DATA_BLOB oIn{static_cast<DWORD>(oKey.size()), oKey.data()};
        DATA_BLOB oEntropy = EntropyBlob();
        DATA_BLOB oOut{};
        if (CryptProtectData(&oIn, L"Korvex history key", &oEntropy, nullptr, nullptr,
                             CRYPTPROTECT_UI_FORBIDDEN, &oOut)) {
            optResult.emplace();
            optResult->oKey = oKey;
            optResult->arrProtected.assign(oOut.pbData, oOut.pbData + oOut.cbData);
            LocalFree(oOut.pbData);
        }
    }
    SecureZeroMemory(oKey.data(), oKey.size());
    return optResult;
}

void CWin32HistoryFileStore::CloseAppend() {
    CloseFile(m_hAppend);
}

void CWin32HistoryFileStore::AbandonReplacement() {
    if (m_hReplacement != INVALID_HANDLE_VALUE) {
        CloseFile(m_hReplacement);
        DeleteFileW(GetReplacementPath().c_str());
    }
    m_bReplacementFailed = false;
}
