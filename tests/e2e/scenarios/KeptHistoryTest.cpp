// The history kept between runs, in a folder of the test's own (LOCALAPPDATA for the Korvex it
// starts): each mode chosen in the options dialog, a damaged file, and kills at random moments.

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

std::vector<uint8_t> FileBytes(const fs::path& oPath) {
    std::ifstream oFile(oPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(oFile), std::istreambuf_iterator<char>()};
}

class e2eKeptHistory : public KorvexScenario {
protected:
    void SetUp() override {
        KorvexScenario::SetUp();
        m_oFolder = fs::temp_directory_path() / ("korvex-kept-" + std::to_string(GetTickCount64()));
        m_oFile = m_oFolder / "Korvex" / "History.dat";
        m_oUnreadable = m_oFolder / "Korvex" / "History.dat.unreadable";
        ASSERT_TRUE(fs::create_directories(m_oFolder));
        m_nOldLength = GetEnvironmentVariableW(L"LOCALAPPDATA", m_aOld, MAX_PATH);
        ASSERT_TRUE(SetEnvironmentVariableW(L"LOCALAPPDATA", m_oFolder.wstring().c_str()));
    }
    void TearDown() override {
        KorvexScenario::TearDown();
        SetEnvironmentVariableW(L"LOCALAPPDATA", m_nOldLength > 0 ? m_aOld : nullptr);
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
    // Each step is typed again (three times at most) until it shows: right after the dialog
    // came forward, the desktop can drop an injected key.
    ::testing::AssertionResult ChooseKeep(WORD nLetter, const wchar_t* pszShownBefore) {
        PostMessageW(m_korvex.MainWindow(), WM_COMMAND, kCmdFileOptions, 0);
        const HWND hOptions = WaitForDialog(m_korvex.ProcessId(), kOptionsTitle);
        if (hOptions == nullptr || ComboSelection(hOptions, kIdKeepHistory) != pszShownBefore) {
            return ::testing::AssertionFailure() << "no options dialog showing the mode before";
        }
        const auto TypeUntil = [&](const std::vector<std::vector<WORD>>& vecKeys,
                                   const std::function<bool()>& fnDone) {
            for (int nTry = 0; nTry < 3 && !fnDone(); ++nTry) {
                if (TypeInto(hOptions, vecKeys) && PumpUntil(fnDone, 1500)) {
                    return true;
                }
            }
            return fnDone();
        };
        if (!TypeUntil({{VK_MENU, 'K'}, {nLetter}}, [&] {
                return ComboSelection(hOptions, kIdKeepHistory).starts_with(wchar_t(nLetter));
            })) {
            return ::testing::AssertionFailure() << "the choice did not show";
        }
        if (!TypeUntil({{VK_RETURN}}, [&] { return !IsWindow(hOptions); })) {
            return ::testing::AssertionFailure() << "the options dialog stayed open";
        }
        return ::testing::AssertionSuccess();
    }

    fs::path m_oFolder, m_oFile, m_oUnreadable;
    int m_nPlainImage = 0;
    wchar_t m_aOld[MAX_PATH] = {};
    DWORD m_nOldLength = 0;
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
    std::vector<std::wstring> vecAll;
    ASSERT_TRUE(PumpUntil([&] {
        vecAll = FullRows();
        return vecAll.size() == 3 && vecAll[0].starts_with(vecTexts[1]) &&
               vecAll[0].ends_with(L" | marked") && vecAll[2].starts_with(vecTexts[0]);
    }));
    // Times stamped anew would differ from the kept ones.
    const std::time_t tCopied = std::time(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return std::time(nullptr) > tCopied; }, 3000));

    m_korvex.Stop(); // File > Exit
    const std::vector<uint8_t> arrFile = FileBytes(m_oFile);
    ASSERT_FALSE(arrFile.empty());
    for (const std::wstring& strText : vecTexts) {
        const std::string strUtf8 = ToUtf8(strText);
        const auto* p = reinterpret_cast<const uint8_t*>(strText.data());
        EXPECT_EQ(arrFile.end(),
                  std::search(arrFile.begin(), arrFile.end(), p, p + 2 * strText.size()));
        EXPECT_EQ(arrFile.end(),
                  std::search(arrFile.begin(), arrFile.end(), strUtf8.begin(), strUtf8.end()));
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
    // The file's size with its header only, then once each copy is in it.
    std::vector<size_t> vecSizes;
    for (const wchar_t* pszText : {L"", L"alpha", L"beta", L"gamma"}) {
        ASSERT_TRUE(*pszText == 0 || Copy(pszText));
        const size_t nBefore = vecSizes.empty() ? 0 : vecSizes.back();
        size_t nSize = 0;
        ASSERT_TRUE(PumpUntil([&] { return (nSize = FileBytes(m_oFile).size()) > nBefore; }));
        vecSizes.push_back(nSize);
    }
    m_korvex.Stop();
    const std::vector<uint8_t> arrGood = FileBytes(m_oFile);
    ASSERT_EQ(vecSizes.back(), arrGood.size());

    std::vector<uint8_t> arrFlipped = arrGood, arrRandom(300);
    arrFlipped[vecSizes[1] + 10] ^= 0x5A; // in the second record
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
         {arrGood.begin(), arrGood.begin() + static_cast<ptrdiff_t>(vecSizes[2] + 5)},
         {L"beta", L"alpha"},
         false},
        {"bytes flipped in the middle", arrFlipped, {L"alpha"}, true},
        {"random bytes", arrRandom, {}, true},
    };
    for (const auto& oRow : aRows) {
        SCOPED_TRACE(oRow.pszName);
        std::ofstream(m_oFile, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(oRow.arrFile.data()), oRow.arrFile.size());
        fs::remove(m_oUnreadable);
        ASSERT_TRUE(StartKorvex());
        EXPECT_TRUE(WaitForRows(oRow.vecRows));
        if (oRow.bNotice) {
            const HWND hBox = WaitForDialog(m_korvex.ProcessId(), kMainWindowTitle);
            ASSERT_NE(nullptr, hBox);
            EXPECT_NE(std::wstring::npos,
                      ControlText(hBox, 0xFFFF)
                          .find(L"could not be read and was kept as History.dat.unreadable"));
            EXPECT_EQ(oRow.arrFile, FileBytes(m_oUnreadable));
            ASSERT_TRUE(TypeInto(hBox, {{VK_RETURN}}));
            ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hBox); }));
        }
        // Every message posted before this one was handled: no second box came.
        PostMessageW(m_korvex.MainWindow(), kMsgPasteActivatedItem, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return Setting(L"Options", L"DoPaste").value_or(0) == 1; }));
        EXPECT_EQ(0u, ShownWindows(m_korvex.ProcessId(), L"#32770").size());
        EXPECT_EQ(oRow.bNotice, fs::exists(m_oUnreadable));
        WriteSetting(L"Options", L"DoPaste", 0);
        m_korvex.Stop();
    }
}

// What the main window's list showed: the copies' numbers, newest first.
struct Observation {
    std::vector<int> arrCopies;
    int Top() const { return arrCopies.empty() ? 0 : arrCopies.front(); }
};

constexpr int kBound = 20; // BufferSize

// Whether the newer list is the older one's history later: what came after the older one's
// head, then the older one from its head on (all of it, unless the bound trimmed it).
bool SameHistory(const Observation& oNewer, const Observation& oOlder) {
    const std::vector<int>& arrNew = oNewer.arrCopies;
    const std::vector<int>& arrOld = oOlder.arrCopies;
    const auto it =
        std::find_if(arrNew.begin(), arrNew.end(), [&](int n) { return n <= oOlder.Top(); });
    const auto nTail = static_cast<size_t>(arrNew.end() - it);
    return nTail <= arrOld.size() && std::equal(it, arrNew.end(), arrOld.begin()) &&
           (arrNew.size() == kBound || nTail == arrOld.size());
}

// Whether a start's list follows the last one seen: the copies recorded before the kept entries
// were taken (newer than any seen), then an earlier moment of the last list or that list itself,
// from some entry on, cut short only by the bound.
bool StartsFrom(const Observation& oStart, const Observation& oLast) {
    const std::vector<int>& arrStart = oStart.arrCopies;
    const std::vector<int>& arrLast = oLast.arrCopies;
    const auto itKept =
        std::find_if(arrStart.begin(), arrStart.end(), [&](int n) { return n <= oLast.Top(); });
    if (itKept == arrStart.end()) {
        return true;
    }
    const auto itFrom =
        std::find_if(arrLast.begin(), arrLast.end(), [&](int n) { return n <= *itKept; });
    const auto nKept = static_cast<size_t>(arrStart.end() - itKept);
    const auto nFrom = static_cast<size_t>(arrLast.end() - itFrom);
    return std::equal(itKept, itKept + static_cast<ptrdiff_t>(std::min(nKept, nFrom)), itFrom) &&
           (nKept <= nFrom || arrLast.size() == kBound) &&
           (nKept >= nFrom || arrStart.size() == kBound);
}

std::string Listed(const Observation& o) {
    std::string str;
    for (const int n : o.arrCopies) {
        str.append(std::to_string(n)).append(" ");
    }
    return "[" + str + "]";
}

// Another program copying "copy <n>" every 20 ms from a thread and window of its own; paused, it
// copies nothing (and none is under way) until it is resumed.
class CCopyStream {
public:
    CCopyStream()
        : m_hStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_oThread([this] { Run(); }) {}
    ~CCopyStream() {
        SetEvent(m_hStop);
        m_oThread.join();
        CloseHandle(m_hStop);
    }
    int Made() const { return m_nMade; }
    void Pause() {
        m_bPaused = true;
        const std::lock_guard oWait(m_oCopying);
    }
    void Resume() { m_bPaused = false; }

private:
    void Run() {
        const HWND hOwner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            nullptr, nullptr);
        for (ULONGLONG nDue = GetTickCount64();; nDue = std::max(nDue + 20, GetTickCount64())) {
            for (ULONGLONG nNow; (nNow = GetTickCount64()) < nDue; wintest::PumpPending()) {
                if (MsgWaitForMultipleObjects(1, &m_hStop, FALSE, static_cast<DWORD>(nDue - nNow),
                                              QS_ALLINPUT) == 0) {
                    DestroyWindow(hOwner);
                    return;
                }
            }
            const std::lock_guard oCopying(m_oCopying);
            const std::wstring strText = L"copy " + std::to_wstring(m_nMade + 1);
            HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, 2 * strText.size() + 2);
            if (m_bPaused || hData == nullptr || !OpenClipboard(hOwner)) {
                GlobalFree(hData);
                continue;
            }
            std::memcpy(GlobalLock(hData), strText.c_str(), 2 * strText.size() + 2);
            GlobalUnlock(hData);
            EmptyClipboard();
            if (SetClipboardData(CF_UNICODETEXT, hData) != nullptr) {
                ++m_nMade;
            } else {
                GlobalFree(hData);
            }
            CloseClipboard();
        }
    }

    HANDLE m_hStop;
    std::atomic<int> m_nMade = 0;
    std::atomic<bool> m_bPaused = false;
    std::mutex m_oCopying;
    std::thread m_oThread;
};

// A Korvex started without the driver, to be ended by force.
struct CKilledKorvex {
    PROCESS_INFORMATION pi{};
    bool Start() {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring strLine = L"\"" + wintest::ProgramPath(L"korvex.exe") + L"\"";
        return CreateProcessW(nullptr, strLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi) &&
               CloseHandle(pi.hThread);
    }
    bool IsRunning() const { return WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }
    HWND MainWindow() const {
        const HWND hFound = FindKorvexMainWindow();
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hFound, &nOwner);
        return nOwner == pi.dwProcessId ? hFound : nullptr;
    }
    bool Kill() const {
        return TerminateProcess(pi.hProcess, 1), WaitForSingleObject(pi.hProcess, 10000) == 0;
    }
    ~CKilledKorvex() {
        if (pi.hProcess != nullptr) {
            Kill();
            CloseHandle(pi.hProcess);
        }
    }
};

// The whole list, read while the copies are paused; none when it changed meanwhile.
std::optional<Observation> ReadWhole(HWND hMain, CCopyStream& oStream) {
    oStream.Pause();
    const CRemoteListView oList(FindWindowExW(hMain, nullptr, L"SysListView32", nullptr));
    const int nRows = oList.RowCount();
    auto Copy = [](const std::wstring& strRow) {
        return strRow.starts_with(L"copy ") ? _wtoi(strRow.c_str() + 5) : -1;
    };
    Observation oSeen;
    for (const std::wstring& strRow : oList.Column(kColumnText)) {
        oSeen.arrCopies.push_back(Copy(strRow));
    }
    // A copy still being recorded as the pause began changes the head, the count or both.
    const bool bSteady = nRows >= 0 && oList.RowCount() == nRows &&
                         oSeen.arrCopies.size() == static_cast<size_t>(nRows) &&
                         (nRows == 0 || Copy(oList.Text(0, kColumnText)) == oSeen.Top());
    oStream.Resume();
    return bSteady ? std::optional(oSeen) : std::nullopt;
}

TEST_F(e2eKeptHistory, KilledAtRandomMomentsEveryStartHoldsWhatWasRecordedASecondBefore) {
    ASSERT_TRUE(WriteSetting(L"Options", L"KeepHistory", 2));
    ASSERT_TRUE(WriteSetting(L"Options", L"BufferSize", kBound));
    const unsigned nSeed = std::random_device()();
    std::printf("seed %u\n", nSeed);
    std::mt19937 oRandom(nSeed);
    std::uniform_int_distribution<ULONGLONG> oMoment(0, 100);
    Observation oLast;                  // the newest list seen
    std::optional<Observation> optSafe; // the newest seen a second or more before its kill
    int nStarts = 0, nSafe = 0;
    CCopyStream oStream;
    for (int nRun = 0; nRun <= 200; ++nRun) {
        SCOPED_TRACE("run " + std::to_string(nRun) + ", seed " + std::to_string(nSeed));
        CKilledKorvex oKorvex;
        ASSERT_TRUE(oKorvex.Start());
        // Two thirds of the moments fall in the first 200 ms, most of them before the main
        // window exists, the others in the 100 ms after it is there; every 40th run looks again 300
        // ms later and is ended 1 to 1.2 s after that. The last start is only looked at.
        const bool bLong = nRun % 40 == 12, bFromStart = !bLong && nRun < 200 && oRandom() % 3 != 0;
        const ULONGLONG nDelay =
            nRun == 200 || bLong ? 20000 : oMoment(oRandom) * (bFromStart ? 2 : 1);
        ULONGLONG nKillAt = GetTickCount64() + (bFromStart ? nDelay : 20000), nLookAt = 0;
        std::vector<std::pair<ULONGLONG, Observation>> vecSeen; // in this run
        for (HWND hMain = nullptr;
             GetTickCount64() < nKillAt && WaitForSingleObject(oKorvex.pi.hProcess, 5) != 0;) {
            if (hMain == nullptr) {
                hMain = oKorvex.MainWindow();
                nKillAt = hMain != nullptr && !bFromStart ? GetTickCount64() + nDelay : nKillAt;
                continue;
            }
            std::optional<Observation> optSeen;
            if (GetTickCount64() < nLookAt || !(optSeen = ReadWhole(hMain, oStream))) {
                continue;
            }
            const std::vector<int>& arr = optSeen->arrCopies;
            ASSERT_EQ(0u, ShownWindows(oKorvex.pi.dwProcessId, L"#32770").size())
                << "a message box";
            ASSERT_TRUE(std::adjacent_find(arr.begin(), arr.end(), std::less_equal<int>()) ==
                            arr.end() &&
                        (arr.empty() || arr.back() > 0) && optSeen->Top() <= oStream.Made())
                << "not copies, newest first: " << Listed(*optSeen);
            // The same history as seen last (at a start, an earlier moment of it when what came
            // since was lost, below what was copied meanwhile), holding all that was seen a
            // second before a kill.
            ASSERT_TRUE(vecSeen.empty() ? StartsFrom(*optSeen, oLast)
                                        : SameHistory(*optSeen, oLast))
                << Listed(*optSeen) << " after " << Listed(oLast);
            ASSERT_TRUE(!optSafe || !vecSeen.empty() ||
                        (optSeen->Top() >= optSafe->Top() && SameHistory(*optSeen, *optSafe)))
                << Listed(*optSeen) << " lost some of " << Listed(*optSafe);
            nStarts += vecSeen.empty() ? 1 : 0;
            oLast = *optSeen;
            vecSeen.emplace_back(GetTickCount64(), oLast);
            nLookAt = bLong && vecSeen.size() == 1 ? GetTickCount64() + 300 : ~0ull;
            nKillAt = bLong && vecSeen.size() == 2 ? GetTickCount64() + 1000 + oMoment(oRandom) * 2
                                                   : nKillAt;
            if (nRun == 200) {
                break;
            }
        }
        ASSERT_TRUE(oKorvex.IsRunning()) << "Korvex ended by itself";
        ASSERT_TRUE(oKorvex.Kill());
        for (const auto& [nAt, oSeen] : vecSeen) {
            optSafe = nAt + 1000 <= GetTickCount64() ? oSeen : optSafe;
        }
        nSafe += bLong && vecSeen.size() == 2 ? 1 : 0;
        ASSERT_TRUE(nRun < 200 || !vecSeen.empty()) << "the last start was not looked at";
    }
    std::printf("%d of 201 starts looked at, %d long runs, %d copies\n", nStarts, nSafe,
                oStream.Made());
    EXPECT_GE(nStarts, 40);
    EXPECT_GE(nSafe, 3);
    EXPECT_FALSE(fs::exists(m_oUnreadable));
}

} // namespace
} // namespace e2e
