// The circle picture's ellipse and the about box's link areas over its picture.
#include "shell/DialogGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace gw {
namespace {

TEST(CircleEllipse, HeightFollowsTheRatioAndStopsAtTheSquare) {
    struct Case {
        double ratio;
        int side;
        int height;
    };
    const Case cases[] = {
        {0.0, 60, 3},               // a flat ellipse still shows 3 pixels
        {0.2, 60, 18},              // (int)(0.2 / 0.785398175 * 60) = 15, + 3
        {0.5, 60, 41},              // (int)38.19 + 3
        {0.7, 60, 56},              // (int)53.47 + 3
        {0.75, 60, 60},             // 57.29 + 3 passes the side: capped
        {kFullCircleRatio, 60, 60}, // a full circle
        {3.0, 60, 60},              //
        {0.5, 1, 1},                // never taller than the square
        {0.5, 0, 0},                // an empty control
        {-0.2, 60, 0},              // (int)(-15.28) + 3 is below zero: nothing to draw
        {-0.01, 60, 3},             // truncation toward zero, as in the formula
        {1e300, 60, 60},            // no integer overflow
        {std::numeric_limits<double>::quiet_NaN(), 60, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CircleEllipseHeight(c.ratio, c.side), c.height)
            << "ratio " << c.ratio << " side " << c.side;
}

TEST(CircleEllipse, RectIsTheCentredBandOfTheTopLeftSquare) {
    // Wide control: the square is 60 x 60 at the left; e = 41, margin (60 - 41) / 2 = 9.
    EXPECT_EQ(CircleEllipseRect({10, 20, 110, 80}, 0.5), (PixelRect{10, 29, 70, 71}));
    // Tall control: the square is 50 x 50 at the top; e = (int)31.83 + 3 = 34, margin 8.
    EXPECT_EQ(CircleEllipseRect({0, 0, 50, 90}, 0.5), (PixelRect{0, 8, 50, 42}));
    // Full circle fills the square.
    EXPECT_EQ(CircleEllipseRect({0, 0, 40, 40}, 1.0), (PixelRect{0, 0, 40, 40}));
}

TEST(ScaleToPicture, MeasuresFromTheClientOriginAndScalesEachAxis) {
    // A dialog at (100, 50) sized 434 x 210 with a 3-pixel frame and an 18-pixel caption: the
    // client origin is (103, 71); the divisors are 431 and 189.
    const DialogFrame dialog{{100, 50, 534, 260}, 3, 3, 18};
    const PixelRect child{103 + 144, 71 + 90, 103 + 350, 71 + 99};
    // 144 * 574 / 431 = 191.77, 90 * 229 / 189 = 109.04, 350 * 574 / 431 = 466.12,
    // 99 * 229 / 189 = 119.95: truncated.
    EXPECT_EQ(ScaleToPicture(child, dialog, 574, 229), (PixelRect{191, 109, 466, 119}));
}

TEST(ScaleToPicture, ExactMultiplesStayExactAndNegativeOffsetsTruncateTowardZero) {
    const DialogFrame dialog{{0, 0, 290, 125}, 3, 3, 7}; // divisors 287 and 115
    EXPECT_EQ(ScaleToPicture({3 + 287, 10 + 115, 3 + 287, 10 + 115}, dialog, 574, 230),
              (PixelRect{574, 230, 574, 230}));
    // -1 * 574 / 288 = -1.99, truncated toward zero.
    const DialogFrame odd{{0, 0, 291, 125}, 3, 3, 7};
    EXPECT_EQ(ScaleToPicture({2, 9, 2, 9}, odd, 574, 230).left, -1);
}

TEST(ScaleToPicture, DegenerateWindowLeavesTheAxisUnscaled) {
    const DialogFrame dialog{{0, 0, 3, 200}, 3, 3, 18}; // width - frame = 0
    const PixelRect scaled = ScaleToPicture({13, 31, 23, 41}, dialog, 574, 229);
    EXPECT_EQ(scaled.left, 10);
    EXPECT_EQ(scaled.right, 20);
    EXPECT_EQ(scaled.top, 10 * 229 / 179);
}

} // namespace
} // namespace gw
