#include "shell/win/MainFrameSupport.h"

gw::FrameMetrics ReadFrameMetrics() {
    gw::FrameMetrics metrics;
    metrics.cyMenu = ::GetSystemMetrics(SM_CYMENU);
    metrics.cyCaption = ::GetSystemMetrics(SM_CYCAPTION);
    metrics.cyFrame = ::GetSystemMetrics(SM_CYFRAME);
    metrics.cxFrame = ::GetSystemMetrics(SM_CXFRAME);
    metrics.cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    metrics.cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    return metrics;
}

gw::PixelRect ToPixelRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

gw::PixelRect ReadWorkArea() {
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return ToPixelRect(work);
}

gw::PixelRect WindowRectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return ToPixelRect(rect);
}

bool ApplyTransparency(HWND window, std::uint32_t transparency) {
    return ::SetLayeredWindowAttributes(window, 0, gw::AlphaForTransparency(transparency),
                                        LWA_ALPHA) != FALSE;
}

void SetTrackingLimits(MINMAXINFO& info, const gw::FrameMetrics& metrics, gw::SizeTable table) {
    const gw::TrackingLimits limits = gw::MainFrameTrackingLimits(metrics, table);
    info.ptMinTrackSize = {limits.minimum.width, limits.minimum.height};
    info.ptMaxTrackSize = {limits.maximum.width, limits.maximum.height};
}

void UpdateMenuItems(HMENU menu, const gw::MenuUpdateInput& input) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT position = static_cast<UINT>(i);
        if (HMENU popup = ::GetSubMenu(menu, i)) {
            UpdateMenuItems(popup, input);
            continue;
        }
        const UINT command = ::GetMenuItemID(menu, i);
        if (const auto state = gw::MenuItemUpdate(command, input)) {
            ::EnableMenuItem(menu, position,
                             MF_BYPOSITION | (state->enabled ? MF_ENABLED : MF_GRAYED));
            ::CheckMenuItem(menu, position,
                            MF_BYPOSITION | (state->checked ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}
