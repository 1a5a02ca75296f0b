#pragma once
// The settings dialog's rules that are not about windows: the circle slider's mapping to the
// circle gesture ratio, the two drag sliders that keep at least 16 apart, and the labels that
// say which stroke sends a modifier at once.
#include <string_view>

namespace gw {

inline constexpr int kCircleSliderMin = 1;
inline constexpr int kCircleSliderMax = 10;
inline constexpr int kMinDragSliderMin = 15;
inline constexpr int kMinDragSliderMax = 100;
inline constexpr int kMaxDragSliderMin = 100;
inline constexpr int kMaxDragSliderMax = 300;
inline constexpr int kIdleSliderMin = 1;
inline constexpr int kIdleSliderMax = 60;
// The drag sliders never come closer than this when the user moves one.
inline constexpr int kDragSliderGap = 15;

// Positions 1 to 10 give ratios 0.05 to 0.5.
double CircleRatioForPosition(int position);
// The position a ratio opens with, truncated toward zero (0.12 opens at 2); a ratio of a
// position opens at that position.
int CirclePositionForRatio(double ratio);

struct DragSliders {
    int minimum = 0;
    int maximum = 0;
    bool operator==(const DragSliders&) const = default;
};
// After the user moved one slider, the other gives way so that they stay more than 15 apart.
DragSliders AfterMinimumDragMoved(DragSliders sliders);
DragSliders AfterMaximumDragMoved(DragSliders sliders);

// The texts beside "Send with characters" and "Send immediately", in that order.
struct DragActionLabels {
    std::u16string_view withCharacters;
    std::u16string_view immediately;
};
DragActionLabels LabelsForDragAction(bool sendImmediately);

} // namespace gw
