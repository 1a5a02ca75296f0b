#include "shell/OptionsRules.h"

#include <cmath>

namespace gw {

double CircleRatioForPosition(int position) {
    return 0.5 - (kCircleSliderMax - position) * 0.05;
}

int CirclePositionForRatio(double ratio) {
    const double position = kCircleSliderMax - (0.5 - ratio) * 20;
    // A ratio the slider itself made (0.15 of position 3) misses its position only by
    // floating-point error; truncating that would move the slider down by one.
    const double nearest = std::round(position);
    if (std::abs(position - nearest) < 1e-9)
        return static_cast<int>(nearest);
    return static_cast<int>(position);
}

DragSliders AfterMinimumDragMoved(DragSliders sliders) {
    if (sliders.maximum <= sliders.minimum + kDragSliderGap)
        sliders.maximum = sliders.minimum + kDragSliderGap;
    return sliders;
}

DragSliders AfterMaximumDragMoved(DragSliders sliders) {
    if (sliders.maximum <= sliders.minimum + kDragSliderGap)
        sliders.minimum = sliders.maximum - kDragSliderGap;
    return sliders;
}

DragActionLabels LabelsForDragAction(bool sendImmediately) {
    // The drag sends the modifier with the next character, the drag-and-return at once, or the
    // other way round.
    if (sendImmediately)
        return {u"(Drag and Return)", u"(Drag)"};
    return {u"(Drag)", u"(Drag and Return)"};
}

} // namespace gw
