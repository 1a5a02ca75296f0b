#pragma once
// Win32 pieces of the main frame that need no window of their own: its styles, the metrics
// and work area it is measured with, its layered alpha, its tracking limits and the states
// of its menu items when a menu opens.
#include "shell/MainFrameCommands.h"
#include "shell/MainFrameGeometry.h"

#include <windows.h>

// A never-activated, top-most, layered frame with a caption, a sizing border and no maximize
// box.
inline constexpr DWORD kMainFrameStyle =
    WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
inline constexpr DWORD kMainFrameExStyle =
    WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_APPWINDOW | WS_EX_TOPMOST;
static_assert(kMainFrameStyle == 0x04CE0000 && kMainFrameExStyle == 0x080C0008);

// The six metrics, read now (the application reads them once, when it is constructed).
gw::FrameMetrics ReadFrameMetrics();
// The desktop work area (SPI_GETWORKAREA).
gw::PixelRect ReadWorkArea();
gw::PixelRect ToPixelRect(const RECT& rect);
gw::PixelRect WindowRectOf(HWND window);

// Sets the window's layered alpha for a transparency in percent. True when the system took it.
bool ApplyTransparency(HWND window, std::uint32_t transparency);

// WM_GETMINMAXINFO.
void SetTrackingLimits(MINMAXINFO& info, const gw::FrameMetrics& metrics,
                       gw::SizeTable table = gw::kBuiltInSizeTable);

// Enables, disables, checks and unchecks every Size, Mode and Transparency item of the menu
// and of its popups; other items are left alone.
void UpdateMenuItems(HMENU menu, const gw::MenuUpdateInput& input);
