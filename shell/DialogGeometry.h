#pragma once
// Arithmetic of the small dialog pictures: the circle-sensitivity ellipse and the about box's
// link areas laid over its picture.

namespace gw {

// A rectangle in pixels; right and bottom are exclusive, as in GDI.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

// The ratio at and above which the circle picture is a full circle (a quarter of pi).
inline constexpr double kFullCircleRatio = 0.785398175;

// Height of the ellipse for a ratio in a square of the given side:
// min(side, (int)(ratio / kFullCircleRatio * side) + 3), never below 0. A ratio that is not a
// number counts as 0.
int CircleEllipseHeight(double ratio, int side);

// The ellipse's bounding box in a client rectangle: the square at its top-left corner whose
// side is the rectangle's shorter side, full width, vertically centred.
PixelRect CircleEllipseRect(const PixelRect& client, double ratio);

// The dialog window's metrics that place a child over the picture.
struct DialogFrame {
    PixelRect window; // the dialog window's screen rectangle, before it is fitted to the picture
    int frameX = 0;   // SM_CXDLGFRAME
    int frameY = 0;   // SM_CYDLGFRAME
    int captionY = 0; // SM_CYCAPTION
};

// A child's screen rectangle, measured from the dialog's client origin (window left + frameX,
// window top + frameY + captionY) and scaled by pictureWidth / (window width - frameX) and
// pictureHeight / (window height - frameY - captionY), truncated. An axis whose divisor is
// not positive is left unscaled.
PixelRect ScaleToPicture(const PixelRect& childOnScreen, const DialogFrame& dialog,
                         int pictureWidth, int pictureHeight);

} // namespace gw
