#include "shell/OptionsRules.h"

#include <gtest/gtest.h>

namespace gw {
namespace {

TEST(OptionsRules, TheCircleSliderMapsToRatiosAndBack) {
    EXPECT_DOUBLE_EQ(CircleRatioForPosition(1), 0.05);
    EXPECT_DOUBLE_EQ(CircleRatioForPosition(2), 0.1);
    EXPECT_DOUBLE_EQ(CircleRatioForPosition(10), 0.5);
    EXPECT_EQ(CirclePositionForRatio(0.12), 2); // the default opens at 2, truncated
    for (int position = 1; position <= 10; ++position)
        EXPECT_EQ(CirclePositionForRatio(CircleRatioForPosition(position)), position) << position;
}

TEST(OptionsRules, TheDragSlidersStayMoreThanFifteenApart) {
    struct Case {
        bool minimumMoved;
        DragSliders before;
        DragSliders after;
    };
    const Case cases[] = {
        {true, {100, 200}, {100, 200}},
        {true, {100, 115}, {100, 115}},
        {true, {100, 110}, {100, 115}}, // Minimum Drag to 100 pushes Maximum to 115
        {true, {30, 45}, {30, 45}},
        {false, {90, 100}, {85, 100}}, // Maximum Drag to 100 pushes Minimum to 85
        {false, {30, 100}, {30, 100}},
        {false, {85, 100}, {85, 100}},
    };
    for (const Case& c : cases) {
        const DragSliders after =
            c.minimumMoved ? AfterMinimumDragMoved(c.before) : AfterMaximumDragMoved(c.before);
        EXPECT_EQ(after, c.after) << c.before.minimum << " " << c.before.maximum;
    }
}

TEST(OptionsRules, TheLabelsSayWhichStrokeSendsAtOnce) {
    EXPECT_EQ(LabelsForDragAction(false).withCharacters, u"(Drag)");
    EXPECT_EQ(LabelsForDragAction(false).immediately, u"(Drag and Return)");
    EXPECT_EQ(LabelsForDragAction(true).withCharacters, u"(Drag and Return)");
    EXPECT_EQ(LabelsForDragAction(true).immediately, u"(Drag)");
}

} // namespace
} // namespace gw
