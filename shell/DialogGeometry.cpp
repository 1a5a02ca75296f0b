#include "shell/DialogGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace gw {

int CircleEllipseHeight(double ratio, int side) {
    if (side <= 0)
        return 0;
    double scaled = std::isnan(ratio) ? 0.0 : ratio / kFullCircleRatio * side;
    // Clamped before the conversion: a huge ratio must not overflow the integer.
    scaled = std::clamp(scaled, -static_cast<double>(side) - 3.0, static_cast<double>(side));
    const int height = static_cast<int>(scaled) + 3;
    return std::clamp(height, 0, side);
}

PixelRect CircleEllipseRect(const PixelRect& client, double ratio) {
    const int side = std::max(0, std::min(client.right - client.left, client.bottom - client.top));
    const int height = CircleEllipseHeight(ratio, side);
    const int margin = (side - height) / 2;
    return {client.left, client.top + margin, client.left + side, client.top + side - margin};
}

namespace {

// Truncated toward zero, as a conversion to int does; exact in 64-bit integers.
int Scale(int value, int numerator, int denominator) {
    if (denominator <= 0)
        return value;
    return static_cast<int>(static_cast<std::int64_t>(value) * numerator / denominator);
}

} // namespace

PixelRect ScaleToPicture(const PixelRect& child, const DialogFrame& dialog, int pictureWidth,
                         int pictureHeight) {
    const int originX = dialog.window.left + dialog.frameX;
    const int originY = dialog.window.top + dialog.frameY + dialog.captionY;
    const int width = dialog.window.right - dialog.window.left - dialog.frameX;
    const int height = dialog.window.bottom - dialog.window.top - dialog.frameY - dialog.captionY;
    return {Scale(child.left - originX, pictureWidth, width),
            Scale(child.top - originY, pictureHeight, height),
            Scale(child.right - originX, pictureWidth, width),
            Scale(child.bottom - originY, pictureHeight, height)};
}

} // namespace gw
