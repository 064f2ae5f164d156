#pragma once
// The kept history's file on Windows: %LOCALAPPDATA%\Korvex\History.dat, appended to and
// flushed record by record, replaced whole through History.dat.new and an atomic rename, its
// key protected for the user's account. Reading the file at start, and keeping an unreadable
// one aside as History.dat.unreadable, are here too.

#include "history/HistoryFile.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The largest file read at start. Anything larger is not a file Korvex wrote in any sane run
// and is kept aside unread rather than held in memory.
inline constexpr uint64_t kMaxHistoryFileBytes = uint64_t{2} << 30;

// %LOCALAPPDATA%\Korvex\History.dat; empty when the folder is not known.
std::wstring DefaultHistoryFilePath();

// The key blob of a header unprotected for the current user; none when it is not this user's
// (another account, another machine) or is damaged.
std::optional<AeadKey> UnprotectHistoryKey(std::span<const uint8_t> blob);

// What reading the whole file found.
enum class StoredFileRead {
    Missing,  // no file: nothing kept yet
    Read,     // its bytes are in StoredFileBytes::arrBytes
    TooLarge, // larger than the bound: not read
    Failed,   // it is there but could not be read (denied, locked, out of memory)
};

struct StoredFileBytes {
    StoredFileRead nResult = StoredFileRead::Missing;
    std::vector<uint8_t> arrBytes;
};

// Reads a whole file of at most nMaxBytes bytes.
StoredFileBytes ReadStoredFile(const std::wstring& strPath,
                               uint64_t nMaxBytes = kMaxHistoryFileBytes);

class CWin32HistoryFileStore : public IHistoryFileStore {
public:
    explicit CWin32HistoryFileStore(std::wstring strPath = DefaultHistoryFilePath());
    ~CWin32HistoryFileStore() override;
    CWin32HistoryFileStore(const CWin32HistoryFileStore&) = delete;
    CWin32HistoryFileStore& operator=(const CWin32HistoryFileStore&) = delete;

    const std::wstring& GetPath() const { return m_strPath; }
    std::wstring GetReplacementPath() const { return m_strPath + L".new"; }
    std::wstring GetUnreadablePath() const { return m_strPath + L".unreadable"; }

    // Reads the file and decodes it, a piece at a time. A file the core finds unreadable (or one
    // too large or impossible to read) is renamed to History.dat.unreadable, replacing an older
    // one, and *pbTellUser is set: the caller says so once. Should that rename fail, the file is
    // left as it is and this store writes nothing for the rest of the run, so that the file the
    // user may still want is never overwritten.
    LoadedHistory Load(bool* pbTellUser);

    // Renames the file to History.dat.unreadable, replacing an older one (the newest is kept).
    bool KeepUnreadable();

    bool Append(std::span<const uint8_t> bytes) override;
    bool BeginReplace() override;
    bool WriteReplacement(std::span<const uint8_t> bytes) override;
    bool EndReplace(bool bCommit) override;
    void Delete() override;
    std::optional<HistoryFileKey> NewKey() override;

    bool IsWriting() const { return !m_bHeld; } // false: Load left a file that must not be touched

private:
    void CloseAppend();
    void AbandonReplacement();

    std::wstring m_strPath;
    HANDLE m_hAppend = INVALID_HANDLE_VALUE;      // the file, open for appending
    HANDLE m_hReplacement = INVALID_HANDLE_VALUE; // History.dat.new while it is written
    bool m_bReplacementFailed = false;            // a piece of the replacement was not written
    bool m_bHeld = false;
};
