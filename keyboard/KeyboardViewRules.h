#pragma once
// The keyboard view's rules that do not depend on drawing: which picture is shown, the trace
// pen per size, which highlight pictures go where, and which sizes each state can show.
#include "keyboard/KeyboardModel.h"
#include "keyboard/KeystrokeOutput.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace gw {

// The picture entry for the state, the side, the busy setting and the shift indicator.
int ChoosePicture(KeyboardState state, bool letterSide, bool busyKeyboard,
                  std::uint32_t shiftIndicator);
// The number side's two pictures: the busy picture cannot be switched on while one is shown.
constexpr bool IsNumberPicture(int picture) {
    return picture == kPicNumber || picture == kPicUpperNumber;
}

// The trace's dot half-size and line width for a size (1..6; others are held to that range).
int TraceDotHalfSize(int size);
int TraceLineWidth(int size);

// One highlight to paint: a highlight picture at a rectangle of the current picture (right and
// bottom exclusive).
struct HighlightDraw {
    int picture = 0;
    Rect rect;
    bool operator==(const HighlightDraw&) const = default;
};
// The highlights for the modifier states, in painting order: memory indicator, Alt, Ctrl,
// Shift or Caps Lock, Windows flag.
std::vector<HighlightDraw> HighlightsToDraw(const OutputState& modifiers, bool longDragPending,
                                            bool macroMatchShown, const KeyGeometry& geometry);

// Per state, one bit per size (bit s - 1 for size s).
using AvailableSizes = std::array<std::uint32_t, kStateCount>;
// The lower-case picture of a state and size; {0, 0} when there is none.
using PictureSizeSource = std::function<Size(KeyboardState state, int size)>;
// A size is available for a state when that state's lower-case picture exists and fits the
// work area with the main window's frame around it.
AvailableSizes ComputeAvailableSizes(const PictureSizeSource& lowerCasePicture, Size workArea,
                                     const FrameMargins& margins);
bool IsSizeAvailable(const AvailableSizes& available, int state, int size);
// The size to use for a state: the size itself if available, else the largest available smaller
// one, else the smallest available larger one; the size unchanged when none is available.
int SettleSize(const AvailableSizes& available, int state, int size);

} // namespace gw
