#include "extensions/TouchpadKeyAreas.h"

#include <algorithm>
#include <limits>

namespace gw {

namespace {

void LoadValue(SettingsStore& store, const char16_t* name, std::int32_t& value) {
    std::uint32_t stored = 0;
    if (store.ReadDword(name, stored))
        value = static_cast<std::int32_t>(stored);
}

int ToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::int64_t Units(std::int64_t offset, std::int64_t cell) {
    return cell > 0 ? offset * 100 / cell : 0;
}

} // namespace

TouchpadPlacement LoadTouchpadPlacement(SettingsStore& store) {
    TouchpadPlacement placement;
    LoadValue(store, kTouchpadXStartName, placement.xStart);
    LoadValue(store, kTouchpadYStartName, placement.yStart);
    LoadValue(store, kTouchpadWidthName, placement.cellWidth);
    LoadValue(store, kTouchpadHeightName, placement.cellHeight);
    return placement;
}

void SaveTouchpadPlacement(SettingsStore& store, const TouchpadPlacement& placement) {
    store.WriteDword(kTouchpadXStartName, static_cast<std::uint32_t>(placement.xStart));
    store.WriteDword(kTouchpadYStartName, static_cast<std::uint32_t>(placement.yStart));
    store.WriteDword(kTouchpadWidthName, static_cast<std::uint32_t>(placement.cellWidth));
    store.WriteDword(kTouchpadHeightName, static_cast<std::uint32_t>(placement.cellHeight));
}

void TouchpadKeyAreas::Build(const TouchpadPlacement& placement, bool letterSide) {
    placement_ = placement;
    letterSide_ = letterSide;
    const std::int64_t x = placement.xStart;
    const std::int64_t y = placement.yStart;
    const std::int64_t w = placement.cellWidth;
    const std::int64_t h = placement.cellHeight;
    // A block of cells: columns c0..c1 and rows r0..r1 of the 4x4 grid of cells, exclusive ends.
    auto cells = [&](int c0, int r0, int c1, int r1, std::int64_t cellWidth, int columns,
                     bool enabled) {
        return TouchpadArea{x + c0 * w, y + r0 * h, x + c1 * w - 1, y + r1 * h - 1,
                            cellWidth,  h,          columns,        enabled};
    };
    areas_[kSpaceArea] =
        letterSide ? cells(1, 3, 3, 4, 2 * w, 2, true) : cells(2, 3, 3, 4, w, 1, true);
    areas_[kLetterGrid] = cells(0, 0, 3, 3, w, 3, letterSide);
    areas_[kEnterArea] = cells(0, 0, 3, 3, w, 1, false);
    areas_[kBackspaceArea] = cells(0, 3, 1, 4, w, 1, true);
    areas_[kNumberGrid] = cells(0, 0, 3, 3, w, 3, !letterSide);
    areas_[kZeroKeyArea] = cells(1, 3, 2, 4, w, 1, !letterSide);
    areas_[kEditingArea] = cells(3, 0, 4, 1, w, 1, true);
    areas_[kNavigationArea] = cells(3, 1, 4, 2, w, 1, true);
    areas_[kSystemArea] = cells(3, 3, 4, 4, w, 1, true);
    areas_[kFunctionArea] = cells(3, 2, 4, 3, w, 1, true);
}

int TouchpadKeyAreas::Find(Point touchpad) const {
    const std::int64_t x = std::max<std::int64_t>(touchpad.x, placement_.xStart);
    const std::int64_t y = std::max<std::int64_t>(touchpad.y, placement_.yStart);
    for (int a = 0; a < kKeyAreaCount; ++a) {
        const TouchpadArea& area = Area(a);
        if (area.enabled && x >= area.left && x < area.right && y >= area.top && y < area.bottom)
            return a;
    }
    return kNoArea;
}

Point TouchpadKeyAreas::ToEngineUnits(int area, Point touchpad) const {
    if (area < 0 || area >= kKeyAreaCount)
        return {};
    const TouchpadArea& a = Area(area);
    return {ToInt(Units(touchpad.x - a.left, a.cellWidth)),
            ToInt(Units(touchpad.y - a.top, a.cellHeight))};
}

} // namespace gw
