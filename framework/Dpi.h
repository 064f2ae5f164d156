#pragma once
// Sizes that resources and code give in pixels at 96 DPI (list column widths, image sizes,
// default window sizes), scaled to the DPI of the monitor a window is on. The program declares
// per-monitor DPI awareness in its manifest, so Windows does not stretch its windows: every such
// size goes through ScaleForDpi. Sizes stored in the registry are real pixels and stay as read.

#include <windows.h>

// 96: the DPI at which the resources' pixel sizes are given.
inline constexpr UINT DEFAULT_DPI = USER_DEFAULT_SCREEN_DPI;

// The DPI of the monitor the window is on; for nullptr (or where Windows cannot tell per window)
// the DPI of the screen.
UINT GetWindowDpi(HWND hWnd);

// nPixels at 96 DPI, in pixels at nDpi, rounded to the nearest pixel.
int ScaleForDpi(int nPixels, UINT nDpi);
