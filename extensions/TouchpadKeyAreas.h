#pragma once
// Where the keyboard lies on the touchpad: its place and cell size in touchpad units, kept in
// the settings, and the ten key areas cut from it in the order and shape of the keyboard
// picture's areas: the 3x3 grid on the left, the bottom row below it and the right column.
#include "keyboard/KeyboardModel.h"
#include "shell/Settings.h"

#include <array>
#include <cstdint>
#include <optional>

namespace gw {

// The settings' names of the four values.
inline constexpr char16_t kTouchpadXStartName[] = u"CirqueXStart";
inline constexpr char16_t kTouchpadYStartName[] = u"CirqueYStart";
inline constexpr char16_t kTouchpadWidthName[] = u"CirqueWidth";
inline constexpr char16_t kTouchpadHeightName[] = u"CirqueHeight";

// The keyboard's top-left corner on the touchpad and the size of one key cell.
struct TouchpadPlacement {
    std::int32_t xStart = 50;
    std::int32_t yStart = 75;
    std::int32_t cellWidth = 480;
    std::int32_t cellHeight = 374;
    bool operator==(const TouchpadPlacement&) const = default;
};

// A value that is missing or no 4-byte DWORD keeps its default.
TouchpadPlacement LoadTouchpadPlacement(SettingsStore& store);
void SaveTouchpadPlacement(SettingsStore& store, const TouchpadPlacement& placement);

// One key area in touchpad units. Computed in 64 bits, so no stored value can overflow it.
struct TouchpadArea {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    std::int64_t cellWidth = 0;
    std::int64_t cellHeight = 0;
    int columns = 1;
    bool enabled = false;
    bool operator==(const TouchpadArea&) const = default;
};

class TouchpadKeyAreas {
public:
    // Cuts the areas for the side shown: on the letter side the space key is two cells wide.
    void Build(const TouchpadPlacement& placement, bool letterSide);
    bool LetterSide() const { return letterSide_; }
    const TouchpadArea& Area(int area) const { return areas_[static_cast<std::size_t>(area)]; }

    // The first enabled area that holds the point, the point first raised to the keyboard's
    // top-left corner; kNoArea when none does. An area holds the points from its left and top
    // edge up to, but not on, its right and bottom edge.
    int Find(Point touchpad) const;
    // The point in engine units of the area (100 per cell), truncated toward zero and not held
    // to the area.
    Point ToEngineUnits(int area, Point touchpad) const;

private:
    TouchpadPlacement placement_;
    bool letterSide_ = true;
    std::array<TouchpadArea, kKeyAreaCount> areas_{};
};

} // namespace gw
