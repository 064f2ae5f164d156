#pragma once
// Korvex's settings as one value, kept under HKEY_CURRENT_USER\Software\Brenwick\Korvex. The
// application object loads it at start-up and again when the options change
// (WM_KORVEX_OPTIONS_CHANGED), and hands it to whoever needs a setting: nothing else reads the
// program's key. Each setter writes its value to the registry at once and keeps it once the
// write has succeeded. Every name, type and default of a setting lives here.
//
// A stored value of the wrong type or size is reported (the registry store's message) as it is
// loaded, once per load, and its default is used instead.

#include "history/HistoryFile.h" // KeepMode
#include "history/HistoryPorts.h"
#include "settings/HotkeyDescription.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

class CApplicationRegistry;

// The main window's restored rectangle. Positions are signed (monitors left of or above the
// primary one).
struct WINDOW_PLACEMENT_VALUES {
    int nLeft;
    int nTop;
    int nWidth;
    int nHeight;
};

constexpr int MAIN_WINDOW_DEFAULT_WIDTH = 360;
constexpr int MAIN_WINDOW_DEFAULT_HEIGHT = 550;
// At 96 DPI; a window on a monitor of another DPI scales them.
constexpr int SMALL_WINDOW_DEFAULT_WIDTH = 415;
constexpr int SMALL_WINDOW_DEFAULT_HEIGHT = 250;
// The viewer-chain re-join timer's default, and its least interval, in milliseconds.
constexpr int32_t RESET_CLIPBOARD_TIMER_MINIMUM = 10000;
// The longest "NeverRecordFrom" text, in characters.
constexpr size_t NEVER_RECORD_FROM_MAX_LENGTH = 2048;

class CKorvexSettings : public IHistorySettings {
public:
    // arrHotkeyCommands: the commands whose bindings are loaded.
    explicit CKorvexSettings(std::span<const HOTKEY_DESCRIPTION> arrHotkeyCommands = {});

    // Reads every setting; one that is not stored, or cannot be used, takes its default. A load
    // asked for while one runs (from a message box of its own) follows once that one ends.
    void Load();

    // Until the first start-up has run its first-run step ("FirstRun" not 0; default on).
    bool IsFirstRun() const { return m_oValues.nFirstRun != 0; }
    void SetFirstRunDone();

    // "MainWindow": the placement (default 0, 0, 360, 550) and docking (default on).
    const WINDOW_PLACEMENT_VALUES& GetMainWindowPlacement() const { return m_oValues.placement; }
    void SetMainWindowPlacement(const WINDOW_PLACEMENT_VALUES& placement);
    bool IsDockingEnabled() const { return m_oValues.nDocking != 0; }
    void SetDockingEnabled(bool bOn);

    // The small clip window's size; 0 by 0 while none is stored, and while the stored one is the
    // default (415 by 250): the window then takes the default scaled to its monitor's DPI.
    SIZE GetSmallWindowSize() const;
    void SetSmallWindowSize(SIZE size);

    // "DoPaste": the activated entry is pasted into the target window; default off.
    bool IsDoPaste() const { return m_oValues.nDoPaste != 0; }
    void SetDoPaste(bool bOn);

    // "OpenAtCaret": the small clip window opens at the text caret of the program the user is in
    // (at the mouse cursor when it shows none); default off: at the cursor.
    bool IsOpenAtCaret() const { return m_oValues.nOpenAtCaret != 0; }
    void SetOpenAtCaret(bool bOn);

    // Most entries the history keeps, as stored (negative included); default 200.
    int32_t GetBufferSize() override { return m_oValues.nBufferSize; }
    void SetBufferSize(int32_t nValue);

    // Largest clipboard text taken, in units of 1,000,000 bytes; default 5.
    uint32_t GetMaxClipboardCopySize() override { return m_oValues.nMaxClipboardCopySize; }
    void SetMaxClipboardCopySize(uint32_t nValue);

    // "KeepHistory": what is kept between runs, 0 nothing (the default), 1 the bookmarked entries,
    // 2 all; any other stored number is nothing.
    KeepMode GetKeepHistory() const;
    void SetKeepHistory(KeepMode nMode);

    // Interval in milliseconds of the viewer-chain re-join timer; default and minimum 10000.
    uint32_t GetResetClipboardTimer() const;

    // "NeverRecordFrom" (REG_SZ): the program file names whose copies are never recorded, as
    // the user wrote them (history/ProgramNameList.h reads them); default empty. A longer text
    // than NEVER_RECORD_FROM_MAX_LENGTH is stored cut to that length.
    const std::wstring& GetNeverRecordFrom() const { return m_oValues.strNeverRecordFrom; }
    void SetNeverRecordFrom(const std::wstring& strValue);

    // "ForgetAfterMinutes": entries that are not bookmarked are forgotten this many minutes
    // after they were recorded; default 0, never.
    uint32_t GetForgetAfterMinutes() const { return m_oValues.nForgetAfterMinutes; }
    void SetForgetAfterMinutes(uint32_t nMinutes);

    // The binding of a hotkey command, stored under its message number in decimal; a stored
    // value (0 included) wins over the command's default nDefault.
    uint32_t GetHotkey(uint32_t nMessage, uint32_t nDefault) const;
    void SetHotkey(uint32_t nMessage, uint32_t nConfiguration);

    // "Start with Windows": the value "Korvex" in the per-user Run key. Asked afresh each time:
    // the Run key is the system's, and the user changes it from outside Korvex too.
    static bool IsStartWithWindows();
    static void SetStartWithWindows(bool bOn);

    // The find dialog's size as it closes; written only, never read back.
    static void StoreFindWindowSize(SIZE size);

private:
    struct VALUES {
        uint32_t nFirstRun = 1;
        WINDOW_PLACEMENT_VALUES placement{0, 0, MAIN_WINDOW_DEFAULT_WIDTH,
                                          MAIN_WINDOW_DEFAULT_HEIGHT};
        uint32_t nDocking = 1;
        SIZE sizeSmallWindow{SMALL_WINDOW_DEFAULT_WIDTH, SMALL_WINDOW_DEFAULT_HEIGHT};
        uint32_t nDoPaste = 0;
        uint32_t nOpenAtCaret = 0;
        int32_t nBufferSize = 200;
        uint32_t nMaxClipboardCopySize = 5;
        int32_t nResetClipboardTimer = RESET_CLIPBOARD_TIMER_MINIMUM;
        std::wstring strNeverRecordFrom;
        uint32_t nForgetAfterMinutes = 0;
        uint32_t nKeepHistory = 0;
        std::map<uint32_t, uint32_t> mapHotkeys; // the stored bindings by message
    };
    VALUES Read() const;
    // Writes one value and keeps it in rKept once the registry has it.
    template <typename T>
    void Write(CApplicationRegistry& rStore, const wchar_t* pszSubkey, const wchar_t* pszName,
               T value, T& rKept);

    std::vector<uint32_t> m_arrHotkeyMessages;
    VALUES m_oValues;
    bool m_bLoading = false;
    bool m_bLoadPending = false;
};
