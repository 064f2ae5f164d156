#include "settings/KorvexSettings.h"

#include "settings/ApplicationRegistry.h"

#include <algorithm>
#include <string>
#include <type_traits>
#include <utility>

namespace {

constexpr const wchar_t* kMainWindow = L"MainWindow";
constexpr const wchar_t* kSmallWindow = L"SmallWindow";
constexpr const wchar_t* kFindWindow = L"FindWindow";
constexpr const wchar_t* kOptions = L"Options";
constexpr const wchar_t* kHotkeys = L"Hotkeys";

std::wstring HotkeyName(uint32_t nMessage) {
    return std::to_wstring(nMessage);
}

} // namespace

CKorvexSettings::CKorvexSettings(std::span<const HOTKEY_DESCRIPTION> arrHotkeyCommands) {
    for (const HOTKEY_DESCRIPTION& oCommand : arrHotkeyCommands) {
        m_arrHotkeyMessages.push_back(oCommand.nMessage);
    }
}

CKorvexSettings::VALUES CKorvexSettings::Read() const {
    CApplicationRegistry oStore;
    VALUES values; // the defaults, where nothing usable is stored
    const auto read = [&oStore](const wchar_t* pszSubkey, const wchar_t* pszName, auto& rValue) {
        if (const std::optional<uint32_t> optStored = oStore.ReadUInt32(pszSubkey, pszName)) {
            rValue = static_cast<std::remove_reference_t<decltype(rValue)>>(*optStored);
        }
    };
    read(nullptr, L"FirstRun", values.nFirstRun);
    read(kMainWindow, L"Left", values.placement.nLeft);
    read(kMainWindow, L"Top", values.placement.nTop);
    read(kMainWindow, L"Width", values.placement.nWidth);
    read(kMainWindow, L"Height", values.placement.nHeight);
    read(kMainWindow, L"DockingEnabled", values.nDocking);
    read(kSmallWindow, L"Width", values.sizeSmallWindow.cx);
    read(kSmallWindow, L"Height", values.sizeSmallWindow.cy);
    read(kOptions, L"DoPaste", values.nDoPaste);
    read(kOptions, L"OpenAtCaret", values.nOpenAtCaret);
    read(kOptions, L"BufferSize", values.nBufferSize);
    read(kOptions, L"MaxClipboardCopySize", values.nMaxClipboardCopySize);
    read(kOptions, L"ResetClipboardTimer", values.nResetClipboardTimer);
    read(kOptions, L"ForgetAfterMinutes", values.nForgetAfterMinutes);
    if (std::optional<std::wstring> optText =
            oStore.ReadString(kOptions, L"NeverRecordFrom", NEVER_RECORD_FROM_MAX_LENGTH)) {
        values.strNeverRecordFrom = std::move(*optText);
    }
    read(kOptions, L"KeepHistory", values.nKeepHistory);
    for (const uint32_t nMessage : m_arrHotkeyMessages) {
        const std::wstring strName = HotkeyName(nMessage);
        if (const std::optional<uint32_t> optStored =
                oStore.ReadUInt32(kHotkeys, strName.c_str())) {
            values.mapHotkeys[nMessage] = *optStored;
        }
    }
    return values;
}

void CKorvexSettings::Load() {
    if (m_bLoading) {
        m_bLoadPending = true;
        return;
    }
    m_bLoading = true;
    do {
        m_bLoadPending = false;
        m_oValues = Read();
    } while (m_bLoadPending);
    m_bLoading = false;
}

template <typename T>
void CKorvexSettings::Write(CApplicationRegistry& rStore, const wchar_t* pszSubkey,
                            const wchar_t* pszName, T value, T& rKept) {
    if (rStore.WriteUInt32(pszSubkey, pszName, static_cast<uint32_t>(value))) {
        rKept = value;
    }
    // A load running meanwhile (under one of its boxes) may have read the value before it was
    // written: it reads again.
    m_bLoadPending = m_bLoadPending || m_bLoading;
}

void CKorvexSettings::SetFirstRunDone() {
    CApplicationRegistry oStore;
    Write(oStore, nullptr, L"FirstRun", uint32_t{0}, m_oValues.nFirstRun);
}

void CKorvexSettings::SetMainWindowPlacement(const WINDOW_PLACEMENT_VALUES& placement) {
    CApplicationRegistry oStore;
    WINDOW_PLACEMENT_VALUES& rKept = m_oValues.placement;
    Write(oStore, kMainWindow, L"Left", placement.nLeft, rKept.nLeft);
    Write(oStore, kMainWindow, L"Top", placement.nTop, rKept.nTop);
    Write(oStore, kMainWindow, L"Width", placement.nWidth, rKept.nWidth);
    Write(oStore, kMainWindow, L"Height", placement.nHeight, rKept.nHeight);
}

void CKorvexSettings::SetDockingEnabled(bool bOn) {
    CApplicationRegistry oStore;
    Write(oStore, kMainWindow, L"DockingEnabled", bOn ? 1u : 0u, m_oValues.nDocking);
}

SIZE CKorvexSettings::GetSmallWindowSize() const {
    const SIZE& size = m_oValues.sizeSmallWindow;
    if (size.cx == SMALL_WINDOW_DEFAULT_WIDTH && size.cy == SMALL_WINDOW_DEFAULT_HEIGHT) {
        return SIZE{0, 0};
    }
    return size;
}

void CKorvexSettings::SetSmallWindowSize(SIZE size) {
    CApplicationRegistry oStore;
    Write(oStore, kSmallWindow, L"Width", size.cx, m_oValues.sizeSmallWindow.cx);
    Write(oStore, kSmallWindow, L"Height", size.cy, m_oValues.sizeSmallWindow.cy);
}

void CKorvexSettings::SetDoPaste(bool bOn) {
    CApplicationRegistry oStore;
    Write(oStore, kOptions, L"DoPaste", bOn ? 1u : 0u, m_oValues.nDoPaste);
}

void CKorvexSettings::SetOpenAtCaret(bool bOn) {
    CApplicationRegistry oStore;
    Write(oStore, kOptions, L"OpenAtCaret", bOn ? 1u : 0u, m_oValues.nOpenAtCaret);
}

void CKorvexSettings::SetBufferSize(int32_t nValue) {
    CApplicationRegistry oStore;
    Write(oStore, kOptions, L"BufferSize", nValue, m_oValues.nBufferSize);
}

void CKorvexSettings::SetMaxClipboardCopySize(uint32_t nValue) {
    CApplicationRegistry oStore;
    Write(oStore, kOptions, L"MaxClipboardCopySize", nValue, m_oValues.nMaxClipboardCopySize);
}

KeepMode CKorvexSettings::GetKeepHistory() const {
    switch (m_oValues.nKeepHistory) {
    case static_cast<uint32_t>(KeepMode::Bookmarked):
        return KeepMode::Bookmarked;
    case static_cast<uint32_t>(KeepMode::All):
        return KeepMode::All;
    default:
        return KeepMode::Nothing;
    }
}

void CKorvexSettings::SetKeepHistory(KeepMode nMode) {
    CApplicationRegistry oStore;
    Write(oStore, kOptions, L"KeepHistory", static_cast<uint32_t>(nMode), m_oValues.nKeepHistory);
}

uint32_t CKorvexSettings::GetResetClipboardTimer() const {
    return static_cast<uint32_t>(
        std::max(m_oValues.nResetClipboardTimer, RESET_CLIPBOARD_TIMER_MINIMUM));
}

void CKorvexSettings::SetNeverRecordFrom(const std::wstring& strValue) {
    const std::wstring strStored = strValue.substr(0, NEVER_RECORD_FROM_MAX_LENGTH);
    if (CApplicationRegistry().WriteString(kOptions, L"NeverRecordFrom", strStored)) {
        m_oValues.strNeverRecordFrom = strStored;
    }
    m_bLoadPending = m_bLoadPending || m_bLoading;
}

void CKorvexSettings::SetForgetAfterMinutes(uint32_t nMinutes) {
    CApplicationRegistry oStore;
    Write(oStore, kOptions, L"ForgetAfterMinutes", nMinutes, m_oValues.nForgetAfterMinutes);
}

uint32_t CKorvexSettings::GetHotkey(uint32_t nMessage, uint32_t nDefault) const {
    const auto it = m_oValues.mapHotkeys.find(nMessage);
    return it != m_oValues.mapHotkeys.end() ? it->second : nDefault;
}

void CKorvexSettings::SetHotkey(uint32_t nMessage, uint32_t nConfiguration) {
    if (CApplicationRegistry().WriteUInt32(kHotkeys, HotkeyName(nMessage).c_str(),
                                           nConfiguration)) {
        m_oValues.mapHotkeys[nMessage] = nConfiguration;
    }
    m_bLoadPending = m_bLoadPending || m_bLoading;
}

bool CKorvexSettings::IsStartWithWindows() {
    return CApplicationRegistry().IsStartWithWindows();
}

void CKorvexSettings::SetStartWithWindows(bool bOn) {
    CApplicationRegistry().SetStartWithWindows(bOn);
}

void CKorvexSettings::StoreFindWindowSize(SIZE size) {
    CApplicationRegistry oStore;
    oStore.WriteUInt32(kFindWindow, L"Width", static_cast<uint32_t>(size.cx));
    oStore.WriteUInt32(kFindWindow, L"Height", static_cast<uint32_t>(size.cy));
}
