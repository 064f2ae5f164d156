// The history kept between runs, in a folder of the test's own (LOCALAPPDATA points there for
// the Korvex it starts): chosen in the options dialog, back after File > Exit in each mode,
// gone with "Nothing", never a text in the file's bytes; a damaged file kept aside with one
// notice; and Korvex killed at random moments during a stream of copies.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "RemoteListView.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <random>

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr WORD ALT = VK_MENU;
constexpr DWORD kOptionsHandled = 1; // DoPaste after the first toggle

std::vector<uint8_t> FileBytes(const fs::path& oPath) {
    std::ifstream oFile(oPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(oFile), std::istreambuf_iterator<char>()};
}

bool WriteFileBytes(const fs::path& oPath, const std::vector<uint8_t>& arr) {
    std::ofstream oFile(oPath, std::ios::binary | std::ios::trunc);
    oFile.write(reinterpret_cast<const char*>(arr.data()),
                static_cast<std::streamsize>(arr.size()));
    return oFile.good();
}

bool Contains(const std::vector<uint8_t>& arr, const void* p, size_t nBytes) {
    const auto* pBytes = static_cast<const uint8_t*>(p);
    return std::search(arr.begin(), arr.end(), pBytes, pBytes + nBytes) != arr.end();
}

class e2eKeptHistory : public KorvexScenario {
protected:
    void SetUp() override {
        KorvexScenario::SetUp();
        m_oFolder =
            fs::temp_directory_path() / ("korvex-kept-" + std::to_string(GetCurrentProcessId()) +
                                         "-" + std::to_string(GetTickCount64()));
        ASSERT_TRUE(fs::create_directories(m_oFolder));
        m_oFile = m_oFolder / "Korvex" / "History.dat";
        m_oUnreadable = m_oFile;
        m_oUnreadable += ".unreadable";
        wchar_t aOld[MAX_PATH] = {};
        m_bHadLocalAppData = GetEnvironmentVariableW(L"LOCALAPPDATA", aOld, MAX_PATH) > 0;
        m_strOldLocalAppData = aOld;
        ASSERT_TRUE(SetEnvironmentVariableW(L"LOCALAPPDATA", m_oFolder.wstring().c_str()));
    }
    void TearDown() override {
        KorvexScenario::TearDown();
        SetEnvironmentVariableW(L"LOCALAPPDATA",
                                m_bHadLocalAppData ? m_strOldLocalAppData.c_str() : nullptr);
        std::error_code oError;
        fs::remove_all(m_oFolder, oError);
        EXPECT_FALSE(fs::exists(m_oFolder));
    }

    // Every row: its text, its time and whether it shows the bookmark.
    std::vector<std::wstring> FullRows() const {
        const CRemoteListView oList(m_korvex.ListWindow());
        std::vector<std::wstring> vecRows;
        for (int i = 0, n = oList.RowCount(); i < n; ++i) {
            vecRows.push_back(oList.Text(i, kColumnText) + L" | " + oList.Text(i, kColumnTime) +
                              (oList.Image(i, kColumnNo) == m_nPlainImage ? L"" : L" | marked"));
        }
        return vecRows;
    }
    // Chooses what is kept in the options dialog (by the choice's first letter) and presses OK.
    ::testing::AssertionResult ChooseKeep(WORD nLetter, const wchar_t* pszShownBefore) {
        PostMessageW(m_korvex.MainWindow(), WM_COMMAND, kCmdFileOptions, 0);
        const HWND hOptions = WaitForDialog(m_korvex.ProcessId(), kOptionsTitle);
        if (hOptions == nullptr) {
            return ::testing::AssertionFailure() << "no options dialog";
        }
        if (ComboSelection(hOptions, kIdKeepHistory) != pszShownBefore) {
            return ::testing::AssertionFailure()
                   << "shown: " << ToUtf8(ComboSelection(hOptions, kIdKeepHistory));
        }
        if (::testing::AssertionResult oTyped =
                TypeInto(hOptions, {{ALT, 'K'}, {nLetter}, {VK_RETURN}});
            !oTyped) {
            return oTyped;
        }
        return PumpUntil([&] { return !IsWindow(hOptions); })
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << "the options dialog stayed open";
    }
    // Every message posted to the main window before this call has been handled.
    ::testing::AssertionResult HandledSoFar() {
        const DWORD nWanted = Setting(L"Options", L"DoPaste").value_or(0) != 0 ? 0 : 1;
        PostMessageW(m_korvex.MainWindow(), kMsgPasteActivatedItem, 0, 0);
        return PumpUntil([&] { return Setting(L"Options", L"DoPaste") == nWanted; })
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << "the main window handles nothing";
    }
    size_t MessageBoxes() const {
        return ShownWindows(m_korvex.ProcessId(), L"#32770", kMainWindowTitle).size();
    }

    fs::path m_oFolder, m_oFile, m_oUnreadable;
    int m_nPlainImage = 0;

private:
    bool m_bHadLocalAppData = false;
    std::wstring m_strOldLocalAppData;
};

TEST_F(e2eKeptHistory, EachModeBringsBackWhatItKeepsAndNothingRemovesTheFile) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(ChooseKeep('A', L"Nothing"));
    EXPECT_EQ(2u, Setting(L"Options", L"KeepHistory"));
    const std::vector<std::wstring> vecTexts = {L"kept first", L"kept s\u00e9cond", L"kept third"};
    ASSERT_TRUE(CopyEach(vecTexts));
    m_nPlainImage = CRemoteListView(m_korvex.ListWindow()).Image(0, kColumnNo);
    // The second entry moves to the head and is bookmarked.
    PostMessageW(m_korvex.MainWindow(), kMsgRevertFirstItems, 0, 0);
    PostMessageW(m_korvex.MainWindow(), kMsgBookmarkFirstItem, 0, 0);
    ASSERT_TRUE(WaitForRows({vecTexts[1], vecTexts[2], vecTexts[0]}));
    ASSERT_TRUE(PumpUntil([&] {
        const std::vector<std::wstring> vecRows = FullRows();
        return !vecRows.empty() && vecRows[0].ends_with(L" | marked");
    }));
    const std::vector<std::wstring> vecAll = FullRows();
    // Times stamped anew would differ from the kept ones.
    const std::time_t tCopied = std::time(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return std::time(nullptr) > tCopied; }, 3000));

    m_korvex.Stop(); // File > Exit
    const std::vector<uint8_t> arrFile = FileBytes(m_oFile);
    ASSERT_FALSE(arrFile.empty());
    for (const std::wstring& strText : vecTexts) {
        const std::string strUtf8 = ToUtf8(strText);
        EXPECT_FALSE(Contains(arrFile, strText.data(), 2 * strText.size())) << strUtf8;
        EXPECT_FALSE(Contains(arrFile, strUtf8.data(), strUtf8.size())) << strUtf8;
    }
    ASSERT_TRUE(StartKorvex());
    EXPECT_EQ(vecAll, FullRows());

    ASSERT_TRUE(ChooseKeep('B', L"All entries"));
    m_korvex.Stop();
    ASSERT_TRUE(StartKorvex());
    EXPECT_EQ(std::vector<std::wstring>{vecAll[0]}, FullRows());

    ASSERT_TRUE(ChooseKeep('N', L"Bookmarked entries"));
    EXPECT_TRUE(PumpUntil([&] { return !fs::exists(m_oFile); }));
    m_korvex.Stop();
    ASSERT_TRUE(StartKorvex());
    EXPECT_TRUE(RowTexts().empty());
    EXPECT_FALSE(fs::exists(m_oFile));
}

TEST_F(e2eKeptHistory, ADamagedFileStartsWithWhatCanBeReadKeptAsideWithOneNotice) {
    ASSERT_TRUE(WriteSetting(L"Options", L"KeepHistory", 2));
    ASSERT_TRUE(StartKorvex());
    // The file's size once each copy is in it.
    std::vector<size_t> vecSizes;
    std::vector<std::wstring> vecShown;
    size_t nSize = 0;
    ASSERT_TRUE(PumpUntil([&] { return (nSize = FileBytes(m_oFile).size()) > 0; }));
    for (const wchar_t* pszText : {L"alpha", L"beta", L"gamma"}) {
        vecShown.insert(vecShown.begin(), pszText);
        ASSERT_TRUE(Copy(pszText));
        ASSERT_TRUE(WaitForRows(vecShown));
        const size_t nBefore = nSize;
        ASSERT_TRUE(PumpUntil([&] { return (nSize = FileBytes(m_oFile).size()) > nBefore; }));
        vecSizes.push_back(nSize);
    }
    m_korvex.Stop();
    const std::vector<uint8_t> arrGood = FileBytes(m_oFile);
    ASSERT_EQ(vecSizes.back(), arrGood.size());

    std::vector<uint8_t> arrFlipped = arrGood;
    for (size_t i = vecSizes[0] + 9; i < vecSizes[0] + 12; ++i) {
        arrFlipped[i] ^= 0x5A; // in the second record
    }
    std::vector<uint8_t> arrRandom(300);
    std::mt19937 oRandom(20);
    std::generate(arrRandom.begin(), arrRandom.end(), [&] { return oRandom() & 0xFF; });
    const struct {
        const char* pszName;
        std::vector<uint8_t> arrFile;
        std::vector<std::wstring> vecRows;
        bool bNotice; // and kept aside
    } aRows[] = {
        // A cut in the last record is a torn last change: dropped without a word.
        {"cut in the last record",
         {arrGood.begin(), arrGood.begin() + static_cast<ptrdiff_t>(vecSizes[1] + 5)},
         {L"beta", L"alpha"},
         false},
        {"cut in the header", {arrGood.begin(), arrGood.begin() + 10}, {}, true},
        {"bytes flipped in the middle", arrFlipped, {L"alpha"}, true},
        {"random bytes", arrRandom, {}, true},
    };
    for (const auto& oRow : aRows) {
        SCOPED_TRACE(oRow.pszName);
        ASSERT_TRUE(WriteFileBytes(m_oFile, oRow.arrFile));
        fs::remove(m_oUnreadable);
        ASSERT_TRUE(StartKorvex());
        EXPECT_TRUE(WaitForRows(oRow.vecRows));
        if (oRow.bNotice) {
            const HWND hBox = WaitForDialog(m_korvex.ProcessId(), kMainWindowTitle);
            ASSERT_NE(nullptr, hBox);
            EXPECT_NE(std::wstring::npos, ControlText(hBox, 0xFFFF)
                                              .find(L"could not be read and was kept as "
                                                    L"History.dat.unreadable"))
                << ToUtf8(ControlText(hBox, 0xFFFF));
            EXPECT_EQ(oRow.arrFile, FileBytes(m_oUnreadable));
            ASSERT_TRUE(TypeInto(hBox, {{VK_RETURN}}));
            ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hBox); }));
        }
        ASSERT_TRUE(HandledSoFar());
        EXPECT_EQ(0u, MessageBoxes());
        EXPECT_EQ(oRow.bNotice, fs::exists(m_oUnreadable));
        m_korvex.Stop();
    }
}

// What the main window's list showed at a moment: the copies' numbers, newest first.
struct Observation {
    std::vector<int> arrCopies;
    int Top() const { return arrCopies.empty() ? 0 : arrCopies.front(); }
};

constexpr int kBound = 20; // BufferSize

// The copy number of a row's text, -1 when it is none.
int CopyNumber(const std::wstring& strRow) {
    return strRow.starts_with(L"copy ") ? _wtoi(strRow.c_str() + 5) : -1;
}

// Whether the newer list is the history the older one showed, later: what came after the older
// one's head, then the older one from its head on (all of it, unless the bound trimmed it).
bool SameHistory(const Observation& oNewer, const Observation& oOlder) {
    const std::vector<int>& arrNew = oNewer.arrCopies;
    const auto itOld =
        std::find_if(arrNew.begin(), arrNew.end(), [&](int n) { return n <= oOlder.Top(); });
    const std::vector<int> arrTail(itOld, arrNew.end());
    const std::vector<int>& arrOld = oOlder.arrCopies;
    return arrTail.size() <= arrOld.size() &&
           std::equal(arrTail.begin(), arrTail.end(), arrOld.begin()) &&
           (arrNew.size() == kBound || arrTail.size() == arrOld.size());
}

std::string Listed(const Observation& o) {
    std::string str;
    for (const int n : o.arrCopies) {
        str.append(str.empty() ? "[" : " ").append(std::to_string(n));
    }
    return str.empty() ? "[]" : str + "]";
}

// Another program copying "copy <n>" every 20 ms, from its own thread and window. Paused, it
// copies nothing (and none is under way) until it is resumed.
class CCopyStream {
public:
    CCopyStream() : m_hStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        m_oThread = std::thread([this] { Run(); });
    }
    ~CCopyStream() {
        SetEvent(m_hStop);
        m_oThread.join();
        CloseHandle(m_hStop);
    }
    int Made() const { return m_nMade; } // the last copy put on the clipboard
    void Pause() {
        m_bPaused = true;
        const std::lock_guard oWait(m_oCopying);
    }
    void Resume() { m_bPaused = false; }

private:
    void Run() {
        const HWND hOwner = CreateWindowExW(0, L"STATIC", L"copies", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                            nullptr, nullptr, nullptr);
        for (ULONGLONG nDue = GetTickCount64();; nDue = std::max(nDue + 20, GetTickCount64())) {
            // Waits for the next copy's moment, handling this window's messages.
            for (ULONGLONG nNow; (nNow = GetTickCount64()) < nDue;) {
                if (MsgWaitForMultipleObjects(1, &m_hStop, FALSE, static_cast<DWORD>(nDue - nNow),
                                              QS_ALLINPUT) == WAIT_OBJECT_0) {
                    DestroyWindow(hOwner);
                    return;
                }
                wintest::PumpPending();
            }
            const std::lock_guard oCopying(m_oCopying);
            if (!m_bPaused) {
                Copy(hOwner);
            }
        }
    }
    void Copy(HWND hOwner) {
        const std::wstring strText = L"copy " + std::to_wstring(m_nMade + 1);
        const size_t nBytes = (strText.size() + 1) * sizeof(wchar_t);
        HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, nBytes);
        if (hData == nullptr || !OpenClipboard(hOwner)) { // held: the next moment
            GlobalFree(hData);
            return;
        }
        std::memcpy(GlobalLock(hData), strText.c_str(), nBytes);
        GlobalUnlock(hData);
        EmptyClipboard();
        if (SetClipboardData(CF_UNICODETEXT, hData) != nullptr) {
            ++m_nMade;
        } else {
            GlobalFree(hData);
        }
        CloseClipboard();
    }

    HANDLE m_hStop;
    std::atomic<int> m_nMade = 0;
    std::atomic<bool> m_bPaused = false;
    std::mutex m_oCopying;
    std::thread m_oThread;
};

// A Korvex started without the driver, to be ended by force at a chosen moment.
struct CKilledKorvex {
    PROCESS_INFORMATION pi{};
    bool Start() {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring strLine = L"\"" + wintest::ProgramPath(L"korvex.exe") + L"\"";
        if (!CreateProcessW(nullptr, strLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi)) {
            return false;
        }
        CloseHandle(pi.hThread);
        return true;
    }
    bool IsRunning() const { return WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }
    // Its main window once it has one.
    HWND MainWindow() const {
        const HWND hFound = FindKorvexMainWindow();
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hFound, &nOwner);
        return nOwner == pi.dwProcessId ? hFound : nullptr;
    }
    // Ends it at once; true once it is gone.
    bool Kill() const {
        TerminateProcess(pi.hProcess, 1);
        return WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
    }
    ~CKilledKorvex() {
        if (pi.hProcess != nullptr) {
            Kill();
            CloseHandle(pi.hProcess);
        }
    }
};

// The whole list, read while the copies are paused; none when it changed meanwhile.
std::optional<Observation> ReadWhole(HWND hMain) {
    const CRemoteListView oList(FindWindowExW(hMain, nullptr, L"SysListView32", nullptr));
    const int nRows = oList.RowCount();
    Observation oSeen;
    for (const std::wstring& strRow : oList.Column(kColumnText)) {
        oSeen.arrCopies.push_back(CopyNumber(strRow));
    }
    if (nRows < 0 || oList.RowCount() != nRows ||
        oSeen.arrCopies.size() != static_cast<size_t>(nRows) ||
        (nRows > 0 && CopyNumber(oList.Text(0, kColumnText)) != oSeen.Top())) {
        return std::nullopt;
    }
    return oSeen;
}

TEST_F(e2eKeptHistory, KilledAtRandomMomentsEveryStartHoldsWhatWasRecordedASecondBefore) {
    ASSERT_TRUE(WriteSetting(L"Options", L"KeepHistory", 2));
    ASSERT_TRUE(WriteSetting(L"Options", L"BufferSize", kBound));
    const unsigned nSeed = std::random_device()();
    std::printf("seed %u\n", nSeed);
    RecordProperty("seed", std::to_string(nSeed));
    std::mt19937 oRandom(nSeed);
    std::uniform_int_distribution<ULONGLONG> oMoment(0, 150);

    Observation oLastStart; // the list as the last start showed it
    struct Head {
        ULONGLONG nAt; // when the copy was seen at the head of the list
        int nCopy;
        ULONGLONG nKill = 0; // when that Korvex was ended
    };
    std::vector<Head> vecHeads;
    int nChecked = 0;
    CCopyStream oStream;
    for (int nRun = 0; nRun <= 200; ++nRun) {
        SCOPED_TRACE("run " + std::to_string(nRun) + ", seed " + std::to_string(nSeed));
        CKilledKorvex oKorvex;
        ASSERT_TRUE(oKorvex.Start());
        // Half the moments fall in the first 300 ms from the start, most of them before the main
        // window exists; the others in the 150 ms after it is there. The last start is only
        // looked at.
        const bool bFromStart = nRun < 200 && oRandom() % 2 == 0;
        const ULONGLONG nDelay = nRun == 200  ? 20000
                                 : bFromStart ? oMoment(oRandom) * 2
                                              : oMoment(oRandom);
        ULONGLONG nKillAt = GetTickCount64() + (bFromStart ? nDelay : 20000);
        bool bLooked = false;
        HWND hMain = nullptr;
        while (GetTickCount64() < nKillAt && WaitForSingleObject(oKorvex.pi.hProcess, 5) != 0) {
            if (hMain == nullptr) {
                hMain = oKorvex.MainWindow();
                nKillAt = hMain != nullptr && !bFromStart ? GetTickCount64() + nDelay : nKillAt;
            } else if (bLooked) {
                // While the copies go on, the head of the list.
                const int nHead = CopyNumber(
                    CRemoteListView(FindWindowExW(hMain, nullptr, L"SysListView32", nullptr))
                        .Text(0, kColumnText));
                if (nHead > 0) {
                    vecHeads.push_back({GetTickCount64(), nHead});
                }
            } else {
                // What the start brought back, read whole with the copies paused.
                oStream.Pause();
                const std::optional<Observation> optSeen = ReadWhole(hMain);
                oStream.Resume();
                if (!optSeen) {
                    continue;
                }
                const Observation& oSeen = *optSeen;
                ASSERT_EQ(0u, ShownWindows(oKorvex.pi.dwProcessId, L"#32770").size())
                    << "a message box";
                const std::vector<int>& arr = oSeen.arrCopies;
                ASSERT_TRUE(std::adjacent_find(arr.begin(), arr.end(), std::less_equal<int>()) ==
                                arr.end() &&
                            (arr.empty() || arr.back() > 0) && oSeen.Top() <= oStream.Made())
                    << "not copies, newest first: " << Listed(oSeen);
                // The same history as the last start showed (an earlier moment of it only when
                // what came since was lost in the last second, which the heads below tell).
                ASSERT_TRUE(oSeen.Top() >= oLastStart.Top() ? SameHistory(oSeen, oLastStart)
                                                            : SameHistory(oLastStart, oSeen))
                    << Listed(oSeen) << " after " << Listed(oLastStart);
                // Every copy seen at the head a second before the kill is there, and every one
                // seen since in the span of the list.
                for (const Head& o : vecHeads) {
                    const bool bInSpan = !arr.empty() && o.nCopy >= arr.back() && o.nCopy <= arr[0];
                    ASSERT_TRUE(std::find(arr.begin(), arr.end(), o.nCopy) != arr.end() ||
                                (!bInSpan && o.nAt + 1000 > o.nKill) ||
                                (o.nCopy < arr.back() && arr.size() == kBound))
                        << "copy " << o.nCopy << " seen at the head " << o.nKill - o.nAt
                        << " ms before the kill is not in " << Listed(oSeen);
                }
                vecHeads.clear();
                vecHeads.push_back({GetTickCount64(), oSeen.Top()});
                oLastStart = oSeen;
                bLooked = true;
                ++nChecked;
                if (nRun == 200) {
                    break;
                }
            }
        }
        ASSERT_TRUE(oKorvex.IsRunning()) << "Korvex ended by itself";
        ASSERT_TRUE(oKorvex.Kill());
        for (Head& o : vecHeads) {
            o.nKill = o.nKill != 0 ? o.nKill : GetTickCount64();
        }
        ASSERT_TRUE(nRun < 200 || bLooked) << "the last start was not looked at";
    }
    std::printf("%d of 201 starts looked at; %d copies made\n", nChecked, oStream.Made());
    EXPECT_GE(nChecked, 60);
    EXPECT_FALSE(fs::exists(m_oUnreadable));
}

} // namespace
} // namespace e2e
