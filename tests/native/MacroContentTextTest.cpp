// The macro content window's text: the first line, cut to the window's width with "...".
#include "macros/MacroContentText.h"

#include <gtest/gtest.h>

namespace gw {
namespace {

int TenPixelsEach(std::u16string_view text) {
    return static_cast<int>(text.size()) * 10;
}

TEST(MacroContentText, ShowsTheFirstLineCutToTheWidth) {
    struct Case {
        std::u16string_view content;
        int clientWidth;
        std::u16string_view shown;
    };
    const Case cases[] = {
        {u"by the way", 200, u"by the way"},
        {u"line1\rline2", 200, u"line1..."},
        {u"abcdefghij", 104, u"abcdefghij"}, // 100 pixels in 104 - 4
        {u"abcdefghij", 103, u"abcdef..."},
        {u"abcdefghij", 60, u"ab..."},
        {u"\rsecond", 200, u"..."},
        {u"abcdefghij", 10, u"..."}, // not even "..." fits: the text is gone
        {u"abcdefghij", -5, u"..."},
        {u"", 50, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MacroContentDisplayText(c.content, c.clientWidth, TenPixelsEach), c.shown)
            << c.clientWidth;
}

} // namespace
} // namespace gw
