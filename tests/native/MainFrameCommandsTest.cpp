// What a change of the macro match does to the content window and the icons: the window while
// the keyboard is shown, the small icon or the tray icon while it is minimized.
#include "shell/MainFrameCommands.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

namespace gw {
namespace {

TEST(MacroMatchDisplay, TheMatchIconShowsOnlyWhileTheKeyboardIsMinimized) {
    using W = MacroWindowAction;
    struct Case {
        bool matchShown, minimized, toTray;
        MacroMatchDisplay expected;
    };
    const Case cases[] = {
        {true, false, false, {W::kShowOnTop, 0, 0}},
        {false, false, false, {W::kHideAndRaiseFrame, 0, 0}},
        {true, true, false, {W::kLeave, 0, IDI_MACRO_MATCH}},
        {false, true, false, {W::kLeave, 0, IDR_MAINFRAME}},
        {true, false, true, {W::kShowOnTop, IDR_MAINFRAME, 0}},
        {true, true, true, {W::kLeave, IDI_MACRO_MATCH, 0}},
        {false, true, true, {W::kLeave, IDR_MAINFRAME, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MacroMatchDisplayFor(c.matchShown, c.minimized, c.toTray), c.expected)
            << c.matchShown << c.minimized << c.toTray;
}

} // namespace
} // namespace gw
