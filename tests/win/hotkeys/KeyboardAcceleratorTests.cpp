// The hotkey table of zendel.dll, used through the library's import as Korvex uses it.

#include "AllocationCounter.h"

#include "hotkeys/KeyboardAccelerator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Makes GetKeyState on this thread report the given keys as held, as they would be while a key
// message is being handled; restores the previous state afterwards.
class CHeldKeys {
public:
    explicit CHeldKeys(std::initializer_list<BYTE> keys) {
        GetKeyboardState(m_aSaved);
        BYTE aState[256];
        std::copy(std::begin(m_aSaved), std::end(m_aSaved), aState);
        for (const BYTE nKey : {VK_CONTROL, VK_MENU, VK_SHIFT}) {
            aState[nKey] = 0;
        }
        for (const BYTE nKey : keys) {
            aState[nKey] = 0x80;
        }
        SetKeyboardState(aState);
    }
    ~CHeldKeys() { SetKeyboardState(m_aSaved); }

private:
    BYTE m_aSaved[256] = {};
};

// A message-only window that records the messages it is sent or that it is posted and that
// are dispatched to it.
class CRecordingWindow {
public:
    CRecordingWindow() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &CRecordingWindow::WndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZendelAcceleratorTestWindow";
        RegisterClassW(&wc);
        m_hWnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CRecordingWindow() { DestroyWindow(m_hWnd); }

    HWND Handle() const { return m_hWnd; }
    // Dispatches what has been posted to the window so far.
    void DispatchPosted() {
        MSG msg;
        while (PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }

    std::vector<UINT> m_vecMessages;
    int m_nNonZeroParameters = 0;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
        auto* pThis = reinterpret_cast<CRecordingWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (pThis != nullptr && nMsg >= WM_USER) {
            pThis->m_vecMessages.push_back(nMsg);
            if (wParam != 0 || lParam != 0) {
                ++pThis->m_nNonZeroParameters;
            }
            return 0;
        }
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
};

// Shaped like a Korvex window: the shortcut target is not its first base, so calling a bound
// operation must reach the right object.
struct CWindowState {
    virtual ~CWindowState() = default;
    int m_nPadding[4] = {1, 2, 3, 4};
};

class CShortcutWindow : public CWindowState, public CShortcutTarget {
public:
    void OnSelectAll() { m_vecCalls.push_back({this, 'A'}); }
    void OnRename() { m_vecCalls.push_back({this, VK_F2}); }

    struct CALL {
        const CShortcutWindow* pWindow;
        int nShortcut;
        bool operator==(const CALL&) const = default;
    };
    std::vector<CALL> m_vecCalls;
};

HOTKEY_FUNCTION SelectAll() {
    return static_cast<HOTKEY_FUNCTION>(&CShortcutWindow::OnSelectAll);
}

HOTKEY_FUNCTION Rename() {
    return static_cast<HOTKEY_FUNCTION>(&CShortcutWindow::OnRename);
}

constexpr uint32_t CTRL_ALT_A = 0x00030041;

} // namespace

TEST(KeyboardAccelerator, ConfigurationPacksKeyAndModifierBits) {
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(1, 1, 0, 0x41), 0x00030041u);
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(0, 0, 1, 0x72), 0x00040072u);
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(0, 0, 0, 0x71), 0x00000071u);
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(1, 0, 0, 0x46), 0x00010046u);
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(1, 1, 1, 0xFFFF), 0x0007FFFFu);
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(0, 0, 0, 0), 0u);
    // Any non-zero modifier argument counts as held.
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(0x80, 5, 0, 0x41),
              CKeyboardAccelerator::MakeHotkeyConfiguration(1, 1, 0, 0x41));
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(-1, 0, 0x8000, 0x41), 0x00050041u);
}

TEST(KeyboardAccelerator, KeypadDigitsAndSeparatorAreTheMainKeys) {
    for (uint16_t nDigit = 0; nDigit <= 9; ++nDigit) {
        EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(1, 1, 0, VK_NUMPAD0 + nDigit),
                  0x00030030u + nDigit)
            << "keypad " << nDigit;
    }
    EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(0, 0, 0, VK_SEPARATOR),
              CKeyboardAccelerator::MakeHotkeyConfiguration(0, 0, 0, VK_RETURN));
    // Keypad *, +, -, . and / keep their own codes, as do the keys around the changed range.
    for (const uint16_t nKey : {0x5F, 0x6A, 0x6B, 0x6D, 0x6E, 0x6F, 0x70}) {
        EXPECT_EQ(CKeyboardAccelerator::MakeHotkeyConfiguration(0, 0, 1, nKey), 0x00040000u | nKey)
            << std::hex << nKey;
    }
    // Every operation that takes a key code normalises it the same way.
    CKeyboardAccelerator oAccelerator;
    oAccelerator.AddHotkeyMessageID(1, 1, 0, VK_NUMPAD5, 0x470);
    EXPECT_EQ(oAccelerator.GetMessageID(0x00030035), 0x470u);
    EXPECT_EQ(oAccelerator.GetMessageID(0x00030065), 0u);
}

TEST(KeyboardAccelerator, MessageTableAddsReplacesAndRemoves) {
    CKeyboardAccelerator oAccelerator;
    EXPECT_EQ(oAccelerator.GetMessageID(CTRL_ALT_A), 0u);
    EXPECT_EQ(oAccelerator.ContainsMessageID(CTRL_ALT_A), 0);

    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x402);
    EXPECT_EQ(oAccelerator.GetMessageID(CTRL_ALT_A), 0x402u);
    EXPECT_EQ(oAccelerator.ContainsMessageID(CTRL_ALT_A), 1);
    // Exact match only: an extra modifier is another combination.
    EXPECT_EQ(oAccelerator.ContainsMessageID(CTRL_ALT_A | HOTKEY_SHIFT), 0);

    oAccelerator.AddHotkeyMessageID(0, 0, 1, 0x72, 0x465);
    oAccelerator.RemoveHotkeyMessageID(0x00040073); // absent: nothing changes
    EXPECT_EQ(oAccelerator.GetMessageID(0x00040072), 0x465u);
    EXPECT_EQ(oAccelerator.GetMessageID(CTRL_ALT_A), 0x402u);

    oAccelerator.RemoveHotkeyMessageID(CTRL_ALT_A);
    EXPECT_EQ(oAccelerator.ContainsMessageID(CTRL_ALT_A), 0);
    EXPECT_EQ(oAccelerator.GetMessageID(0x00040072), 0x465u);
}

TEST(KeyboardAccelerator, ConfigurationZeroIsIgnoredOnlyByTheConfigurationForm) {
    CKeyboardAccelerator oAccelerator;
    oAccelerator.AddHotkeyMessageID(0, 0x401);
    EXPECT_EQ(oAccelerator.ContainsMessageID(0), 0);
    oAccelerator.AddHotkeyMessageID(0, 0, 0, 0, 0x401);
    EXPECT_EQ(oAccelerator.ContainsMessageID(0), 1);
    EXPECT_EQ(oAccelerator.GetMessageID(0), 0x401u);
}

TEST(KeyboardAccelerator, InstancesAndCopiesKeepTheirOwnTables) {
    CKeyboardAccelerator oFirst;
    oFirst.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    CKeyboardAccelerator oCopy(oFirst);
    oCopy.AddHotkeyMessageID(0x00010042, 0x402);
    oFirst.RemoveHotkeyMessageID(CTRL_ALT_A);
    EXPECT_EQ(oCopy.GetMessageID(CTRL_ALT_A), 0x401u);
    EXPECT_EQ(oFirst.ContainsMessageID(0x00010042), 0);
    EXPECT_EQ(gl_oKeyboardAccelerator.ContainsMessageID(0x00010042), 0);

    oFirst = oCopy;
    EXPECT_EQ(oFirst.GetMessageID(0x00010042), 0x402u);
}

TEST(KeyboardAccelerator, PostAndSendDeliverTheBoundMessageWithZeroParameters) {
    CRecordingWindow oWindow;
    CKeyboardAccelerator oAccelerator;
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    oAccelerator.AddHotkeyMessageID(0x00000071, 0x4C9);

    // Sent: handled before the call returns.
    EXPECT_EQ(oAccelerator.SendMessageIDConfiguration(oWindow.Handle(), 0x00000071), 1);
    EXPECT_EQ(oWindow.m_vecMessages, std::vector<UINT>{0x4C9});
    // Posted: waits in the queue.
    EXPECT_EQ(oAccelerator.PostMessageIDConfiguration(oWindow.Handle(), CTRL_ALT_A), 1);
    EXPECT_EQ(oWindow.m_vecMessages.size(), 1u);
    oWindow.DispatchPosted();
    EXPECT_EQ(oWindow.m_vecMessages, (std::vector<UINT>{0x4C9, 0x401}));

    // Unbound: nothing is delivered.
    EXPECT_EQ(oAccelerator.SendMessageIDConfiguration(oWindow.Handle(), 0x00000072), 0);
    EXPECT_EQ(oAccelerator.PostMessageIDConfiguration(oWindow.Handle(), 0x00000072), 0);
    oWindow.DispatchPosted();
    EXPECT_EQ(oWindow.m_vecMessages.size(), 2u);
    EXPECT_EQ(oWindow.m_nNonZeroParameters, 0);
}

TEST(KeyboardAccelerator, DeliveryToAGoneWindowStillReportsTheBinding) {
    HWND hGone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hGone, nullptr);
    DestroyWindow(hGone);
    ASSERT_FALSE(IsWindow(hGone));

    CKeyboardAccelerator oAccelerator;
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    EXPECT_EQ(oAccelerator.PostMessageIDConfiguration(hGone, CTRL_ALT_A), 1);
    EXPECT_EQ(oAccelerator.SendMessageIDConfiguration(hGone, CTRL_ALT_A), 1);
    EXPECT_EQ(oAccelerator.PostMessageIDConfiguration(hGone, 0x00030042), 0);
    EXPECT_EQ(oAccelerator.SendMessageIDConfiguration(hGone, 0x00030042), 0);
}

TEST(KeyboardAccelerator, KeyFormsUseTheModifiersOfTheMessageBeingHandled) {
    CRecordingWindow oWindow;
    CKeyboardAccelerator oAccelerator;
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    oAccelerator.AddHotkeyMessageID(0x00000041, 0x402);
    {
        CHeldKeys oHeld{VK_CONTROL, VK_MENU};
        EXPECT_EQ(CKeyboardAccelerator::GetCurrentConfiguration('A'), CTRL_ALT_A);
        EXPECT_EQ(CKeyboardAccelerator::GetCurrentConfiguration(VK_NUMPAD6), 0x00030036u);
        EXPECT_EQ(oAccelerator.SendMessageID(oWindow.Handle(), 'A'), 1);
        EXPECT_EQ(oAccelerator.PostMessageID(oWindow.Handle(), 'A'), 1);
        EXPECT_EQ(oAccelerator.PostMessageID(oWindow.Handle(), 'B'), 0);
    }
    {
        CHeldKeys oHeld{};
        EXPECT_EQ(CKeyboardAccelerator::GetCurrentConfiguration('A'), 0x00000041u);
        EXPECT_EQ(oAccelerator.PostMessageID(oWindow.Handle(), 'A'), 1);
    }
    {
        CHeldKeys oHeld{VK_SHIFT};
        EXPECT_EQ(CKeyboardAccelerator::GetCurrentConfiguration(VK_F3), 0x00040072u);
        EXPECT_EQ(oAccelerator.SendMessageID(oWindow.Handle(), 'A'), 0);
    }
    oWindow.DispatchPosted();
    EXPECT_EQ(oWindow.m_vecMessages, (std::vector<UINT>{0x401, 0x401, 0x402}));
}

TEST(KeyboardAccelerator, CallFunctionRunsTheBoundOperationOnTheGivenWindow) {
    CShortcutWindow oFirst;
    CShortcutWindow oSecond;
    CKeyboardAccelerator oAccelerator;
    oAccelerator.AddHotkeyFunction(1, 0, 0, 'A', SelectAll());
    oAccelerator.AddHotkeyFunction(0, 0, 0, VK_F2, Rename());
    {
        CHeldKeys oHeld{VK_CONTROL};
        EXPECT_EQ(oAccelerator.CallFunction(&oFirst, 'A'), 1);
        EXPECT_EQ(oAccelerator.CallFunction(&oSecond, 'A'), 1);
        EXPECT_EQ(oAccelerator.CallFunction(&oFirst, VK_F2), 0); // F2 alone is bound, not Ctrl+F2
    }
    {
        CHeldKeys oHeld{VK_CONTROL, VK_SHIFT};
        EXPECT_EQ(oAccelerator.CallFunction(&oFirst, 'A'), 0);
    }
    {
        CHeldKeys oHeld{};
        EXPECT_EQ(oAccelerator.CallFunction(&oFirst, 'A'), 0);
        EXPECT_EQ(oAccelerator.CallFunction(&oSecond, VK_F2), 1);
    }
    using CALL = CShortcutWindow::CALL;
    EXPECT_EQ(oFirst.m_vecCalls, (std::vector<CALL>{{&oFirst, 'A'}}));
    EXPECT_EQ(oSecond.m_vecCalls, (std::vector<CALL>{{&oSecond, 'A'}, {&oSecond, VK_F2}}));

    // Re-binding replaces; removing leaves the other shortcut alone.
    oAccelerator.AddHotkeyFunction(0, 0, 0, VK_F2, SelectAll());
    oAccelerator.RemoveHotkeyFunction(0x00010041);
    oAccelerator.RemoveHotkeyFunction(0x00010042); // absent
    CHeldKeys oHeld{VK_CONTROL};
    EXPECT_EQ(oAccelerator.CallFunction(&oFirst, 'A'), 0);
    CHeldKeys oReleased{};
    EXPECT_EQ(oAccelerator.CallFunction(&oFirst, VK_F2), 1);
    EXPECT_EQ(oFirst.m_vecCalls.back(), (CALL{&oFirst, 'A'}));
    EXPECT_EQ(oFirst.m_vecCalls.size(), 2u);
}

// The hook looks up every key press on the desktop: building the configuration and the
// lookup must not touch the heap.
TEST(KeyboardAccelerator, LookupOfAKeyPressDoesNotAllocate) {
    CKeyboardAccelerator oAccelerator;
    CAllocationCounter oCounter(GetModuleHandleW(L"zendel.dll"));
    ASSERT_GT(oCounter.PatchedImports(), 0);

    // The counter sees the library's allocations: a new binding allocates a table node.
    oAccelerator.AddHotkeyMessageID(CTRL_ALT_A, 0x401);
    for (uint16_t nKey = 0x70; nKey < 0x70 + 24; ++nKey) {
        oAccelerator.AddHotkeyMessageID(0x00030000u | nKey, 0x465);
    }
    ASSERT_GT(oCounter.Allocations(), 0);

    oCounter.Reset();
    int nFound = 0;
    for (uint16_t nKey = 0; nKey < 1000; ++nKey) {
        nFound += oAccelerator.ContainsMessageID(CKeyboardAccelerator::GetLiveConfiguration(nKey));
        nFound +=
            oAccelerator.ContainsMessageID(CKeyboardAccelerator::GetCurrentConfiguration(nKey));
        nFound += oAccelerator.GetMessageID(0x00030000u | nKey) != 0 ? 1 : 0;
    }
    EXPECT_EQ(oCounter.Allocations(), 0);
    EXPECT_EQ(nFound, 25); // the Ctrl+Alt lookups only: no modifier is held
}

TEST(KeyboardAcceleratorLibrary, CarriesItsVersionResource) {
    wchar_t szLibrary[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(GetModuleHandleW(L"zendel.dll"), szLibrary, MAX_PATH), 0u);
    DWORD dwHandle = 0;
    const DWORD nSize = GetFileVersionInfoSizeW(szLibrary, &dwHandle);
    ASSERT_GT(nSize, 0u);
    std::vector<BYTE> vecInfo(nSize);
    ASSERT_TRUE(GetFileVersionInfoW(szLibrary, 0, nSize, vecInfo.data()));

    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(VerQueryValueW(vecInfo.data(), L"\\", reinterpret_cast<void**>(&pFixed), &nLength));
    EXPECT_EQ(pFixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(pFixed->dwFileVersionLS, 0u);
    EXPECT_EQ(pFixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    const auto fnText = [&](const wchar_t* pszName) {
        wchar_t* pszValue = nullptr;
        UINT nChars = 0;
        const std::wstring strPath = std::wstring(L"\\StringFileInfo\\040904b0\\") + pszName;
        if (!VerQueryValueW(vecInfo.data(), strPath.c_str(), reinterpret_cast<void**>(&pszValue),
                            &nChars)) {
            return std::wstring(L"<missing>");
        }
        return std::wstring(pszValue);
    };
    EXPECT_EQ(fnText(L"FileDescription"), L"Zendel hotkey library");
    EXPECT_EQ(fnText(L"ProductName"), L"Korvex");
    EXPECT_EQ(fnText(L"FileVersion"), L"1.0.0.0");
    EXPECT_EQ(fnText(L"OriginalFilename"), L"zendel.dll");
}
