// Messages that any program on the desktop can post to Korvex's windows, with any parameters, as
// often and in any order: Korvex neither crashes nor hangs, opens no second modal box over the
// first, and its history keeps its bound with the list rows numbered as its entries; Exit still
// ends it cleanly.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "RemoteListView.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

namespace e2e {
namespace {

using e2eHostile = KorvexScenario;

// The windows that take messages from other processes. Add a target here and rows below.
enum class Target { Main, List, SmallClip, SmallClipList };

struct HOSTILE_ROW {
    Target nTarget;
    std::vector<UINT> vecMessages;
    std::vector<WPARAM> vecWParams;
    std::vector<LPARAM> vecLParams;
};

const std::vector<WPARAM> kAnyWParams = {0, 1, 5, 6, 1000, 0xFFFF, 0x7FFFFFFF, ~WPARAM{0}};
const std::vector<LPARAM> kAnyLParams = {
    0, 1, WM_LBUTTONDOWN, WM_RBUTTONDOWN, -1, LPARAM{0x7FFFFFFF}};

std::vector<UINT> Range(UINT nFirst, UINT nLast) {
    std::vector<UINT> vec;
    for (UINT n = nFirst; n <= nLast; ++n) {
        vec.push_back(n);
    }
    return vec;
}

// Every menu command and more, with and without a notification code and a control: except the
// two Exit commands (posted at the end) and "Visit Online" (it starts a browser).
std::vector<WPARAM> AnyCommands() {
    std::vector<WPARAM> vec;
    for (const UINT nId : Range(0, 12)) {
        vec.push_back(nId);
    }
    for (const UINT nId : Range(32768, 32910)) {
        if (nId != kCmdFileExit && nId != kCmdTrayExit && nId != 32899) {
            for (const WPARAM nCode : {0u, 1u, 0xFFFFu}) {
                vec.push_back(MAKEWPARAM(nId, nCode));
            }
        }
    }
    vec.push_back(0xFFFF);
    return vec;
}

const std::vector<HOSTILE_ROW>& HostileRows() {
    static const std::vector<HOSTILE_ROW> s_vecRows = {
        // The wake-up message (0x401) and every hotkey message.
        {Target::Main, Range(0x401, 0x402), kAnyWParams, kAnyLParams},
        {Target::Main, Range(0x465, 0x479), kAnyWParams, kAnyLParams},
        // "Paste Activated Item", the re-join of the viewer chain and "Pause Recording" (each
        // post twice in all: recording is on again after the storm).
        {Target::Main, {0x4C9, 0x4CA, 0x4CB}, kAnyWParams, kAnyLParams},
        // The tray icon's notice, the small clip window's release, options changed, the
        // refresh hint (rows that exist and rows that do not), and start-up's second half.
        {Target::Main, Range(0x7E9, 0x7ED), kAnyWParams, kAnyLParams},
        // Timers: the re-join, the read retry and its quick tries, and a forged timer procedure.
        {Target::Main, {WM_TIMER}, kAnyWParams, {0, 0x12345}},
        {Target::Main, {WM_COMMAND}, AnyCommands(), {0, 0x12345}},
        // Messages that carry a pointer, which only the system or a control sends.
        {Target::Main, {WM_NOTIFY, WM_MOVING, WM_SIZING}, {0, 1}, {0x12345, 0x7FFF0000}},
        {Target::List, {WM_NOTIFY, 0xBC4E}, {0, 1}, {0x12345, 0x7FFF0000}},
        // The small clip window, open when the storm begins (the storm itself may close it).
        {Target::SmallClip, {WM_COMMAND}, AnyCommands(), {0, 0x12345}},
        {Target::SmallClip, {WM_NOTIFY, 0x7EC, WM_ACTIVATE}, kAnyWParams, {0, 0x12345}},
        {Target::SmallClipList, {WM_NOTIFY, 0xBC4E}, {0, 1}, {0x12345, 0x7FFF0000}},
    };
    return s_vecRows;
}

HWND TargetWindow(const CKorvexProcess& oKorvex, Target nTarget, HWND hSmallClip) {
    switch (nTarget) {
    case Target::Main:
        return oKorvex.MainWindow();
    case Target::List:
        return oKorvex.ListWindow();
    case Target::SmallClip:
        return hSmallClip;
    default:
        return FindWindowExW(hSmallClip, nullptr, WC_LISTVIEWW, nullptr);
    }
}

// Korvex's shown modal boxes: its dialogs but the small clip window, which has no title.
std::vector<HWND> ModalBoxes(DWORD nProcessId) {
    std::vector<HWND> vecBoxes = ShownWindows(nProcessId, L"#32770");
    std::erase_if(vecBoxes, [](HWND hWnd) { return GetWindowTextLengthW(hWnd) == 0; });
    return vecBoxes;
}

TEST_F(e2eHostile, PostedMessagesWithAnyParametersAreSurvivedAndExitStillEndsKorvex) {
    constexpr DWORD kBufferSize = 5;
    ASSERT_TRUE(WriteSetting(L"Options", L"BufferSize", kBufferSize));
    // A window after Korvex in the viewer chain: a WM_CHANGECBCHAIN posted to Korvex comes back
    // to it once Korvex has handled every message posted before.
    int nMarkersBack = 0;
    HWND hNextViewer = nullptr;
    const wintest::CHandlerWindow oNext([&](UINT nMsg, WPARAM wParam, LPARAM lParam) {
        if (nMsg == WM_CHANGECBCHAIN) {
            nMarkersBack += wParam == 0xC0FFEE ? 1 : 0;
            if (reinterpret_cast<HWND>(wParam) == hNextViewer) {
                hNextViewer = reinterpret_cast<HWND>(lParam);
            }
            return std::optional<LRESULT>(0);
        }
        if (nMsg == WM_DRAWCLIPBOARD && hNextViewer != nullptr) {
            SendMessageTimeoutW(hNextViewer, nMsg, wParam, lParam, SMTO_ABORTIFHUNG, 1000, nullptr);
        }
        return std::optional<LRESULT>();
    });
    hNextViewer = SetClipboardViewer(oNext.Handle());
    const std::unique_ptr<void, std::function<void(void*)>> oLeaveChain(
        &hNextViewer, [&](void*) { ChangeClipboardChain(oNext.Handle(), hNextViewer); });
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"alpha", L"beta"}));
    const DWORD nProcessId = m_korvex.ProcessId();
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), 0x402, 0, 0));
    const HWND hSmallClip = WaitForDialog(nProcessId, L"");
    ASSERT_NE(nullptr, hSmallClip) << "the small clip window did not open";

    std::vector<std::tuple<HWND, UINT, WPARAM, LPARAM>> vecPosts;
    for (const HOSTILE_ROW& oRow : HostileRows()) {
        const HWND hTarget = TargetWindow(m_korvex, oRow.nTarget, hSmallClip);
        for (const UINT nMsg : oRow.vecMessages) {
            for (const WPARAM wParam : oRow.vecWParams) {
                for (const LPARAM lParam : oRow.vecLParams) {
                    vecPosts.emplace_back(hTarget, nMsg, wParam, lParam);
                }
            }
        }
    }
    std::mt19937 oRandom(11);
    size_t nMostMenus = 0;
    for (int nRound = 1; nRound <= 2; ++nRound) {
        SCOPED_TRACE(nRound);
        std::shuffle(vecPosts.begin(), vecPosts.end(), oRandom);
        for (size_t i = 0; i < vecPosts.size(); ++i) {
            const auto& [hTarget, nMsg, wParam, lParam] = vecPosts[i];
            // The platform itself refuses to post some messages that carry pointers.
            // A window that some earlier post closed takes no more.
            ASSERT_TRUE(PostMessageW(hTarget, nMsg, wParam, lParam) ||
                        GetLastError() == ERROR_MESSAGE_SYNC_ONLY ||
                        GetLastError() == ERROR_INVALID_WINDOW_HANDLE || !m_korvex.IsRunning())
                << "message " << nMsg << ": error " << GetLastError();
            if (i % 200 == 199 || i + 1 == vecPosts.size()) {
                // Korvex catches up before the next batch, without a second modal box or menu.
                const int nMarker = nMarkersBack + 1;
                PostMessageW(m_korvex.MainWindow(), WM_CHANGECBCHAIN, 0xC0FFEE, 0);
                ASSERT_TRUE(PumpUntil([&] { return nMarkersBack >= nMarker; }, 60000))
                    << "Korvex fell behind or ended: running " << m_korvex.IsRunning();
                EXPECT_LE(ModalBoxes(nProcessId).size(), 1u) << "modal windows open at once";
                nMostMenus = std::max(nMostMenus, ShownWindows(nProcessId, L"#32768").size());
            }
        }
        // Whatever box or menu the posts opened is closed again.
        PostMessageW(m_korvex.MainWindow(), WM_CANCELMODE, 0, 0);
        ASSERT_TRUE(PumpUntil([&] {
            for (const HWND hDialog : ModalBoxes(nProcessId)) {
                PostMessageW(hDialog, WM_COMMAND, IDCANCEL, 0);
            }
            return ModalBoxes(nProcessId).empty() && ShownWindows(nProcessId, L"#32768").empty();
        }));
    }
    EXPECT_LE(nMostMenus, 1u);
    ASSERT_TRUE(m_korvex.Responds());

    // The history keeps its bound and the rows are its entries, numbered from 1; the next copy
    // is recorded as usual. Under Wine the pastes the storm made into Korvex's own list can
    // arrive without their Ctrl (a focus change releases injected keys) and type "v" into its
    // filter field: the field is emptied first, as the user would.
    ASSERT_TRUE(SetDlgItemTextW(m_korvex.MainWindow(), kMainFilterId, L""));
    ASSERT_TRUE(Copy(L"after the storm"));
    std::vector<std::wstring> vecRows;
    EXPECT_TRUE(PumpUntil([&] {
        vecRows = RowTexts();
        return !vecRows.empty() && vecRows[0] == L"after the storm";
    }));
    EXPECT_LE(vecRows.size(), kBufferSize);
    const CRemoteListView oList(m_korvex.ListWindow());
    for (int i = 0; i < static_cast<int>(vecRows.size()); ++i) {
        EXPECT_EQ(std::to_wstring(i + 1), oList.Text(i, kColumnNo));
    }
    ASSERT_TRUE(m_korvex.ExitWith(kCmdFileExit));
    EXPECT_EQ(0u, m_korvex.ExitCode());
}

} // namespace
} // namespace e2e
