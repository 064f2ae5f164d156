#include "settings/ApplicationRegistry.h"

#include "hotkeys/KorvexMainWindow.h"

namespace {

constexpr const wchar_t* kProgramKey = L"Software\\Brenwick\\Korvex";
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunValue = KORVEX_PROGRAM_NAME;

constexpr const wchar_t* kMainWindow = L"MainWindow";
constexpr const wchar_t* kSmallWindow = L"SmallWindow";
constexpr const wchar_t* kFindWindow = L"FindWindow";
constexpr const wchar_t* kOptions = L"Options";
constexpr const wchar_t* kHotkeys = L"Hotkeys";

constexpr int32_t kMinimumResetClipboardTimer = 10000;

// The per-user Run key, opened (never created) for reading and writing its values.
HKEY OpenRunKey() {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &hKey) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return hKey;
}

} // namespace

CApplicationRegistry::CApplicationRegistry() : CSmartRegistry(HKEY_CURRENT_USER, kProgramKey) {}

CApplicationRegistry::~CApplicationRegistry() = default;

uint32_t CApplicationRegistry::GetFirstRun() {
    return ReadUInt32(nullptr, L"FirstRun", 1);
}

void CApplicationRegistry::SetFirstRun(uint32_t nValue) {
    WriteUInt32(nullptr, L"FirstRun", nValue);
}

void CApplicationRegistry::GetMainWindowPlacement(int32_t& nLeft, int32_t& nTop, int32_t& nWidth,
                                                  int32_t& nHeight) {
    nLeft = static_cast<int32_t>(ReadUInt32(kMainWindow, L"Left", 0));
    nTop = static_cast<int32_t>(ReadUInt32(kMainWindow, L"Top", 0));
    nWidth = static_cast<int32_t>(ReadUInt32(kMainWindow, L"Width", 360));
    nHeight = static_cast<int32_t>(ReadUInt32(kMainWindow, L"Height", 550));
}

void CApplicationRegistry::SetMainWindowPlacement(int32_t nLeft, int32_t nTop, int32_t nWidth,
                                                  int32_t nHeight) {
    WriteUInt32(kMainWindow, L"Left", static_cast<uint32_t>(nLeft));
    WriteUInt32(kMainWindow, L"Top", static_cast<uint32_t>(nTop));
    WriteUInt32(kMainWindow, L"Width", static_cast<uint32_t>(nWidth));
    WriteUInt32(kMainWindow, L"Height", static_cast<uint32_t>(nHeight));
}

uint32_t CApplicationRegistry::GetDockingEnabled() {
    return ReadUInt32(kMainWindow, L"DockingEnabled", 1);
}

void CApplicationRegistry::SetDockingEnabled(uint32_t nValue) {
    WriteUInt32(kMainWindow, L"DockingEnabled", nValue);
}

void CApplicationRegistry::GetSmallWindowSize(int32_t& nWidth, int32_t& nHeight) {
    nWidth = static_cast<int32_t>(ReadUInt32(kSmallWindow, L"Width", 415));
    nHeight = static_cast<int32_t>(ReadUInt32(kSmallWindow, L"Height", 250));
}

void CApplicationRegistry::SetSmallWindowSize(int32_t nWidth, int32_t nHeight) {
    WriteUInt32(kSmallWindow, L"Width", static_cast<uint32_t>(nWidth));
    WriteUInt32(kSmallWindow, L"Height", static_cast<uint32_t>(nHeight));
}

void CApplicationRegistry::SetFindWindowSize(int32_t nWidth, int32_t nHeight) {
    WriteUInt32(kFindWindow, L"Width", static_cast<uint32_t>(nWidth));
    WriteUInt32(kFindWindow, L"Height", static_cast<uint32_t>(nHeight));
}

uint32_t CApplicationRegistry::GetDoPaste() {
    return ReadUInt32(kOptions, L"DoPaste", 0);
}

void CApplicationRegistry::SetDoPaste(uint32_t nValue) {
    WriteUInt32(kOptions, L"DoPaste", nValue);
}

int32_t CApplicationRegistry::GetBufferSize() {
    return static_cast<int32_t>(ReadUInt32(kOptions, L"BufferSize", 200));
}

void CApplicationRegistry::SetBufferSize(int32_t nValue) {
    WriteUInt32(kOptions, L"BufferSize", static_cast<uint32_t>(nValue));
}

uint32_t CApplicationRegistry::GetMaxClipboardCopySize() {
    return ReadUInt32(kOptions, L"MaxClipboardCopySize", 5);
}

void CApplicationRegistry::SetMaxClipboardCopySize(uint32_t nValue) {
    WriteUInt32(kOptions, L"MaxClipboardCopySize", nValue);
}

uint32_t CApplicationRegistry::GetResetClipboardTimer() {
    const auto nInterval = static_cast<int32_t>(
        ReadUInt32(kOptions, L"ResetClipboardTimer", kMinimumResetClipboardTimer));
    return static_cast<uint32_t>(
        nInterval < kMinimumResetClipboardTimer ? kMinimumResetClipboardTimer : nInterval);
}

uint32_t CApplicationRegistry::GetHotkey(uint32_t nMessage, uint32_t nDefault) {
    return ReadUInt32(kHotkeys, std::to_wstring(nMessage).c_str(), nDefault);
}

void CApplicationRegistry::SetHotkey(uint32_t nMessage, uint32_t nConfiguration) {
    WriteUInt32(kHotkeys, std::to_wstring(nMessage).c_str(), nConfiguration);
}

bool CApplicationRegistry::IsStartWithWindows() {
    HKEY hRun = OpenRunKey();
    if (hRun == nullptr) {
        return false;
    }
    // Value names compare without regard to case, so "KORVEX" counts as well.
    const LONG nResult = RegQueryValueExW(hRun, kRunValue, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(hRun);
    return nResult == ERROR_SUCCESS || nResult == ERROR_MORE_DATA;
}

void CApplicationRegistry::SetStartWithWindows(bool bOn) {
    HKEY hRun = OpenRunKey();
    if (hRun == nullptr) {
        return;
    }
    if (bOn) {
        const std::wstring strPath = GetRunningProgramPath();
        if (!strPath.empty()) {
            const std::wstring strCommand = L"\"" + strPath + L"\"";
            RegSetValueExW(hRun, kRunValue, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(strCommand.c_str()),
                           static_cast<DWORD>((strCommand.size() + 1) * sizeof(wchar_t)));
        }
    } else {
        RegDeleteValueW(hRun, kRunValue);
    }
    RegCloseKey(hRun);
}

const std::vector<uint16_t>& CApplicationRegistry::GetKeyCodes() {
    m_oKeyNames.Build();
    return m_oKeyNames.GetKeyCodes();
}

bool CApplicationRegistry::GetKeyName(uint32_t nKeyCode, std::wstring& strName) {
    m_oKeyNames.Build();
    return m_oKeyNames.GetKeyName(nKeyCode, strName);
}
