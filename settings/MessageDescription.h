#pragma once
// One hotkey command as the options dialog and the hotkey editor see it. A plain value, copied
// whole; a default-constructed one is all zeros (no command, empty name).

#include <cstddef>
#include <cstdint>

struct MESSAGE_DESCRIPTION {
    static constexpr size_t kNameLength = 128; // UTF-16 units, terminator included

    uint32_t nMessage = 0; // the message posted to the main window; identifies the command
    uint32_t nGroup = 0;   // section of the options list: 0 View, 1 Edit, 2 Options
    uint32_t nIndex = 0;   // position within the group
    wchar_t szName[kNameLength] = {};

    MESSAGE_DESCRIPTION() = default;

    // The name is copied with a bounded copy: at most 127 units, always terminated.
    MESSAGE_DESCRIPTION(uint32_t nMessageIn, uint32_t nGroupIn, uint32_t nIndexIn,
                        const wchar_t* pszName)
        : nMessage(nMessageIn), nGroup(nGroupIn), nIndex(nIndexIn) {
        size_t nLength = 0;
        if (pszName != nullptr) {
            while (nLength + 1 < kNameLength && pszName[nLength] != L'\0') {
                szName[nLength] = pszName[nLength];
                ++nLength;
            }
        }
        szName[nLength] = L'\0';
    }
};
