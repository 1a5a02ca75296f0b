#include "shell/MainFrameGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace gw {

int FrameExtraWidth(const FrameMetrics& metrics) {
    return 2 * (metrics.cxFrame + metrics.cyEdge);
}

int FrameExtraHeight(const FrameMetrics& metrics) {
    return 2 * (metrics.cyFrame + metrics.cxEdge) + metrics.cyCaption + metrics.cyMenu;
}

KeyboardState StateOrNormal(std::uint32_t state) {
    return state == kHorizontal || state == kVertical ? static_cast<KeyboardState>(state) : kNormal;
}

Size WindowSizeForPicture(std::uint32_t state, int pixelSize, const FrameMetrics& metrics) {
    const Size picture = PictureSizeForSide(StateOrNormal(state), pixelSize);
    return {picture.width + FrameExtraWidth(metrics), picture.height + FrameExtraHeight(metrics)};
}

int KeyboardPixelSize(std::uint32_t keyboardSize, SizeTable table) {
    const std::uint32_t last = static_cast<std::uint32_t>(table.size());
    return table[std::clamp<std::uint32_t>(keyboardSize, 1, last) - 1];
}

Size WindowSizeForKeyboard(std::uint32_t state, std::uint32_t keyboardSize,
                           const FrameMetrics& metrics, SizeTable table) {
    return WindowSizeForPicture(state, KeyboardPixelSize(keyboardSize, table), metrics);
}

FrameMargins MainFrameMargins(const FrameMetrics& metrics) {
    FrameMargins margins;
    margins.margin = 0;
    margins.borderWidth = metrics.cyEdge;
    margins.frameWidth = metrics.cxFrame;
    margins.borderHeight = metrics.cxEdge;
    margins.frameHeight = metrics.cyFrame + (metrics.cyCaption + metrics.cyMenu + 1) / 2;
    return margins;
}

CornerPlacement PlaceAtClosestCorner(const PixelRect& work, const AppSettings& settings) {
    if (settings.closestCorner > (kRightEdgeCorner | kBottomEdgeCorner))
        return {};
    const int cornerX = (settings.closestCorner & kRightEdgeCorner) ? work.right : work.left;
    const int cornerY = (settings.closestCorner & kBottomEdgeCorner) ? work.bottom : work.top;
    return {{cornerX + settings.horizDistToClosestEdge, cornerY + settings.vertDistToClosestEdge},
            true};
}

void RecordClosestCorner(const PixelRect& window, const PixelRect& work, AppSettings& settings) {
    std::uint32_t corner = 0;
    if (window.left - work.left < work.right - window.right) {
        settings.horizDistToClosestEdge = window.left - work.left;
    } else {
        settings.horizDistToClosestEdge = window.left - work.right;
        corner |= kRightEdgeCorner;
    }
    if (window.top - work.top < work.bottom - window.bottom) {
        settings.vertDistToClosestEdge = window.top - work.top;
    } else {
        settings.vertDistToClosestEdge = window.top - work.bottom;
        corner |= kBottomEdgeCorner;
    }
    settings.closestCorner = corner;
}

namespace {

constexpr int kSnapDistance = 30;

int SnapAxis(int nearEdgeOffset, int farEdgeOffset) {
    if (std::abs(nearEdgeOffset) <= kSnapDistance)
        return nearEdgeOffset;
    if (std::abs(farEdgeOffset) <= kSnapDistance)
        return farEdgeOffset;
    return 0;
}

} // namespace

Point SnapToWorkArea(const PixelRect& window, const PixelRect& work) {
    const int dx = SnapAxis(work.left - window.left, work.right - window.right);
    const int dy = SnapAxis(work.top - window.top, work.bottom - window.bottom);
    if (std::abs(dx) == kSnapDistance && std::abs(dy) == kSnapDistance)
        return {window.left, window.top};
    return {window.left + dx, window.top + dy};
}

Point KeepInsideWorkArea(const PixelRect& window, const PixelRect& work) {
    return {window.left - std::max(0, window.right - work.right),
            window.top - std::max(0, window.bottom - work.bottom)};
}

BorderDragStep BorderDragLayout(Size client, std::uint32_t state, const FrameMetrics& metrics,
                                SizeTable table) {
    const KeyboardState current = StateOrNormal(state);
    const int w = client.width;
    const int h = client.height;
    int a = h - 2 * metrics.cyEdge;
    int b = w - 2 * metrics.cxEdge;
    if (current == kVertical) {
        a = (a / 9) * 4;
        b = (b / 3) * 4;
    } else if (current == kHorizontal) {
        b = (b / 7) * 4;
    }
    const int s = std::min(a, b);
    // Snapped up to an entry; the largest entry takes everything above the one below it.
    const auto below = table.first(table.size() - 1);
    const auto found = std::find_if(below.begin(), below.end(), [s](int e) { return e >= s; });
    const int snapped = found != below.end() ? *found : table.back();

    BorderDragStep step;
    step.pixelSize = snapped;
    step.state = current;
    const bool wide = w > 11 * h / 8;
    const bool narrow = w < 11 * h / 8;
    const bool tall = h > 2 * w;
    switch (current) {
    case kNormal:
        step.state = wide ? kHorizontal : tall ? kVertical : kNormal;
        break;
    case kVertical:
        step.state = wide ? kHorizontal : h < 2 * w ? kNormal : kVertical;
        break;
    case kHorizontal:
        step.state = narrow ? kNormal : tall ? kVertical : kHorizontal;
        break;
    }
    step.stateChange = step.state != current;
    const int q = snapped / 4;
    if (step.stateChange)
        step.layout = client;
    else if (current == kNormal)
        step.layout = {snapped, snapped};
    else if (current == kVertical)
        step.layout = {3 * q, 9 * q};
    else
        step.layout = {7 * q, snapped};
    return step;
}

int SizeAfterBorderDrag(Size client, std::uint32_t state, const FrameMetrics& metrics,
                        SizeTable table, std::uint32_t availableSizes) {
    const bool vertical = StateOrNormal(state) == kVertical;
    int m = std::min(client.width, client.height) - 2 * metrics.cyEdge;
    if (vertical)
        m = (m / 3) * 4;
    const int count = static_cast<int>(table.size());
    int size = count;
    for (int i = 0; i + 1 < count; ++i) {
        if (m <=
            (table[static_cast<std::size_t>(i)] + table[static_cast<std::size_t>(i) + 1]) / 2) {
            size = i + 1;
            break;
        }
    }
    if (vertical && size == 1 && count > 1)
        size = 2;
    const auto available = [availableSizes](int s) {
        return s >= 1 && s <= 32 && ((availableSizes >> (s - 1)) & 1u) != 0;
    };
    if (available(size))
        return size;
    for (int s = size - 1; s >= 1; --s)
        if (available(s))
            return s;
    for (int s = size + 1; s <= count; ++s)
        if (available(s))
            return s;
    return size;
}

TrackingLimits MainFrameTrackingLimits(const FrameMetrics& metrics, SizeTable table) {
    const int bx = FrameExtraWidth(metrics);
    const int by = FrameExtraHeight(metrics);
    const int first = table.front();
    const int last = table.back();
    return {{first + bx, first + by}, {7 * last / 4 + bx, 9 * last / 4 + by}};
}

PixelRect MacroWindowOverMenuBar(const PixelRect& window, const FrameMetrics& metrics) {
    const int left = window.left + metrics.cxFrame;
    const int top = window.top + metrics.cyFrame + metrics.cyCaption;
    const int width = (window.right - window.left) - 2 * metrics.cxFrame;
    return {left, top, left + width, top + metrics.cyMenu};
}

} // namespace gw
