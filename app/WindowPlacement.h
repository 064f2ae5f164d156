#pragma once
// The main window's stored placement, made safe to use.

#include <windows.h>

#include "settings/KorvexSettings.h"

// The placement to create the main window with, from the stored values. Positions are signed
// (monitors left of or above the primary one) and kept as stored; a width or height that is 0,
// negative or larger than the screen (sizeScreen) falls back to its default, and the default (also
// when exactly the default is stored, which stands for nothing stored) is scaled to nDpi.
WINDOW_PLACEMENT_VALUES MakeMainWindowPlacement(const WINDOW_PLACEMENT_VALUES& stored,
                                                SIZE sizeScreen, UINT nDpi);

// The placement moved to the top left corner of the primary monitor's work area when it lies on
// no monitor of the desktop as it is now (a monitor that was unplugged); otherwise unchanged.
WINDOW_PLACEMENT_VALUES KeepOnAMonitor(const WINDOW_PLACEMENT_VALUES& placement);
