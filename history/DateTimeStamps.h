#pragma once
// The ten date/time stamps that Korvex can put on the clipboard, in the order of their hotkey
// commands and of their menu items: strftime patterns in the local time.

#include <array>

inline constexpr std::array<const char*, 10> DATE_TIME_PATTERNS{
    "%Y.%m.%d",          // yyyy.mm.dd
    "%Y-%m-%d",          // yyyy-mm-dd
    "%Y.%m.%d %H-%M-%S", // yyyy.mm.dd HH-MM-SS
    "%Y-%m-%d %H-%M-%S", // yyyy-mm-dd HH-MM-SS
    "%Y-%m-%d_%H-%M-%S", // yyyy-mm-dd_HH-MM-SS
    "%H-%M-%S",          // HH-MM-SS
    "%H.%M.%S",          // HH.MM.SS
    "%Y%m%d",            // yyyymmdd
    "%H%M%S",            // HHMMSS
    "%Y%m%d%H%M%S",      // yyyymmddHHMMSS
};
