// The kept history through the real file and the user's data protection: what the writer
// records reads back across a restart, a key blob that is not this user's or a file that is not
// a history is kept aside (the newest one), and nothing of the entries' texts is in the file.

#include "store/Win32HistoryFileStore.h"
#include "tests/unit/FakePorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::tuple<std::u16string, int64_t, bool>>;

std::vector<uint8_t> BytesOf(const fs::path& oPath) {
    return ReadStoredFile(oPath.wstring()).arrBytes;
}

bool WriteBytes(const fs::path& oPath, const std::vector<uint8_t>& arr) {
    std::ofstream oFile(oPath, std::ios::binary | std::ios::trunc);
    oFile.write(reinterpret_cast<const char*>(arr.data()),
                static_cast<std::streamsize>(arr.size()));
    return oFile.good();
}

class Win32HistoryStore : public DocTest {
protected:
    void SetUp() override {
        // The store's folder does not exist yet: the first write creates it.
        m_oFolder =
            fs::temp_directory_path() / ("korvex-store-" + std::to_string(GetCurrentProcessId()) +
                                         "-" + std::to_string(GetTickCount64()));
        m_oPath = m_oFolder / "History.dat";
        NewRun({});
    }
    void TearDown() override {
        EndRun();
        std::error_code oError;
        fs::remove_all(m_oFolder, oError);
        EXPECT_FALSE(fs::exists(m_oFolder));
    }
    // A new run (a new process): the document and its writer go on from what the file held.
    void NewRun(LoadedHistory oLoaded, KeepMode nMode = KeepMode::All) {
        EndRun();
        m_pStore = std::make_unique<CWin32HistoryFileStore>(m_oPath.wstring());
        Reset({});
        m_pDoc->SetClock([this] { return ++m_tmNow; });
        m_pDoc->TakeLoadedEntries(std::move(oLoaded.arrEntries));
        m_pWriter = std::make_unique<CHistoryWriter>(*m_pDoc, *m_pStore, nMode, oLoaded.oState);
        m_pDoc->SetJournal(m_pWriter.get());
    }
    void EndRun() {
        if (m_pDoc) {
            m_pDoc->SetJournal(nullptr);
        }
        m_pWriter.reset();
        m_pStore.reset();
    }
    LoadedHistory Load(bool bExpectTold) {
        bool bTold = !bExpectTold;
        LoadedHistory oLoaded = m_pStore->Load(&bTold);
        EXPECT_EQ(bTold, bExpectTold);
        return oLoaded;
    }
    static Entries EntriesOf(const LoadedHistory& oLoaded) {
        Entries arr;
        for (const CLIP_ITEM& o : oLoaded.arrEntries) {
            arr.emplace_back(o.strText, o.tmCreated, o.bBookmark);
        }
        return arr;
    }

    fs::path m_oFolder, m_oPath;
    std::unique_ptr<CWin32HistoryFileStore> m_pStore;
    std::unique_ptr<CHistoryWriter> m_pWriter;
    int64_t m_tmNow = 1'700'000'000;
};

TEST_F(Win32HistoryStore, WhatIsWrittenReadsBackAcrossARestart) {
    // The first run's mode, the second run's after it adds "four", and what the file then holds.
    // (What each mode keeps: the writer's own tests; a rewrite over the file: the next test.)
    const int64_t t = m_tmNow;
    const std::tuple<KeepMode, KeepMode, Entries> aRows[] = {
        {KeepMode::All,
         KeepMode::All,
         {{u"four", t + 4, false}, {u"THREE", t + 3, false}, {u"two", t + 2, true}}},
        {KeepMode::All, KeepMode::Nothing, {}},
    };
    for (const auto& [nFirst, nSecond, arrExpected] : aRows) {
        SCOPED_TRACE(static_cast<int>(nFirst) * 10 + static_cast<int>(nSecond));
        m_tmNow = t;
        NewRun({}, nFirst);
        for (const char16_t* psz : {u"one", u"two", u"three"}) {
            m_pDoc->AddItem(psz);
        }
        m_pDoc->SetBookmark(1, true);
        m_pDoc->ReplaceItemText(0, u"THREE");
        m_pDoc->RemoveItem(2);
        NewRun(Load(false), nFirst);
        m_pDoc->AddItem(u"four");
        m_pWriter->SetMode(nSecond);
        const std::vector<uint8_t> arrFile = BytesOf(m_oPath);
        const LoadedHistory oLoaded = Load(false);
        EXPECT_EQ(oLoaded.nStatus,
                  arrExpected.empty() ? HistoryFileStatus::Empty : HistoryFileStatus::Read);
        EXPECT_EQ(EntriesOf(oLoaded), arrExpected);
        EXPECT_EQ(fs::exists(m_oPath), !arrExpected.empty());
        EXPECT_TRUE(arrFile.empty() || arrFile.size() == m_pWriter->GetFileBytes());
        const char16_t szText[] = u"THREE";
        const auto* pText = reinterpret_cast<const uint8_t*>(szText);
        EXPECT_EQ(std::search(arrFile.begin(), arrFile.end(), pText, pText + 10), arrFile.end());
        EXPECT_FALSE(fs::exists(m_pStore->GetReplacementPath()));
    }
}

TEST_F(Win32HistoryStore, UntilItsRenameAReplacementLeavesTheFileAsItWas) {
    m_pDoc->AddItem(u"kept");
    const std::vector<uint8_t> arrKept = BytesOf(m_oPath);
    {
        CWin32HistoryFileStore oKilled(m_oPath.wstring());
        ASSERT_TRUE(oKilled.BeginReplace());
        ASSERT_TRUE(oKilled.WriteReplacement(std::vector<uint8_t>(4096, 0xAB)));
        EXPECT_EQ(BytesOf(m_oPath), arrKept); // what a kill now leaves
    }
    // A replacement a kill left behind is not read, and the next rewrite writes over it.
    ASSERT_TRUE(WriteBytes(m_pStore->GetReplacementPath(), {'s', 't', 'a', 'l', 'e'}));
    EXPECT_EQ(EntriesOf(Load(false)), (Entries{{u"kept", m_tmNow, false}}));
    m_pDoc->SetBookmark(0, true);
    m_pWriter->SetMode(KeepMode::Bookmarked);
    EXPECT_EQ(EntriesOf(Load(false)), (Entries{{u"kept", m_tmNow, true}}));
    EXPECT_FALSE(fs::exists(m_pStore->GetReplacementPath()));
}

TEST_F(Win32HistoryStore, AnUnreadableFileIsKeptAsideTheNewestKept) {
    struct Row {
        const char* pszName;
        std::function<void(std::vector<uint8_t>&)> fnSpoil;
        HistoryFileStatus nStatus;
    };
    const Row aRows[] = {
        // Its last byte: Wine's protection checks the cipher text and the signature at the
        // end, not every byte before them.
        {"a key blob of another account",
         [](std::vector<uint8_t>& arr) { arr[16 + (arr[12] | arr[13] << 8) - 1] ^= 0x10; },
         HistoryFileStatus::KeyUnreadable},
        {"not a history at all", [](std::vector<uint8_t>& arr) { arr[0] = 'x'; },
         HistoryFileStatus::NotAHistory},
    };
    for (const Row& oRow : aRows) {
        SCOPED_TRACE(oRow.pszName);
        NewRun({});
        m_pDoc->AddItem(u"kept");
        EndRun();
        std::vector<uint8_t> arrFile = BytesOf(m_oPath);
        ASSERT_GT(arrFile.size(), 16u);
        oRow.fnSpoil(arrFile);
        ASSERT_TRUE(WriteBytes(m_oPath, arrFile));
        ASSERT_TRUE(WriteBytes(m_oPath.wstring() + L".unreadable", {'o', 'l', 'd'}));
        m_pStore = std::make_unique<CWin32HistoryFileStore>(m_oPath.wstring());
        LoadedHistory oLoaded = Load(true);
        EXPECT_EQ(oLoaded.nStatus, oRow.nStatus);
        EXPECT_EQ(BytesOf(m_pStore->GetUnreadablePath()), arrFile);
        EXPECT_FALSE(fs::exists(m_oPath));
        // The run goes on with a new file of its own.
        NewRun(std::move(oLoaded));
        m_pDoc->AddItem(u"new");
        EXPECT_EQ(EntriesOf(Load(false)), (Entries{{u"new", m_tmNow, false}}));
    }
    // Where it cannot be kept aside, the file is left as it is and nothing is written over it.
    EndRun();
    const std::vector<uint8_t> arrOther = {'o', 't', 'h', 'e', 'r', 's'};
    ASSERT_TRUE(WriteBytes(m_oPath, arrOther));
    fs::remove(m_oPath.wstring() + L".unreadable");
    fs::create_directories(m_oPath.wstring() + L".unreadable\\in");
    m_pStore = std::make_unique<CWin32HistoryFileStore>(m_oPath.wstring());
    EXPECT_EQ(Load(true).nStatus, HistoryFileStatus::NotAHistory);
    CHistoryWriter oWriter(*m_pDoc, *m_pStore, KeepMode::All);
    m_pDoc->SetJournal(&oWriter);
    m_pDoc->AddItem(u"not written");
    m_pDoc->SetJournal(nullptr);
    EXPECT_FALSE(oWriter.IsWriting());
    EXPECT_EQ(BytesOf(m_oPath), arrOther);
    EXPECT_EQ(ReadStoredFile(m_oPath.wstring(), 5).nResult, StoredFileRead::TooLarge);
    EXPECT_EQ(ReadStoredFile((m_oFolder / "none").wstring()).nResult, StoredFileRead::Missing);
}

} // namespace
