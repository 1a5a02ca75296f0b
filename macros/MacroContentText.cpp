#include "macros/MacroContentText.h"

#include <algorithm>

namespace gw {

// Only the first line is shown; a cut line ends in "...". A line too wide is cut in proportion
// to how much it is too wide, one character more each time, until it fits with its "...".
std::u16string MacroContentDisplayText(std::u16string_view content, int clientWidth,
                                       const TextWidth& width) {
    static constexpr std::u16string_view kEllipsis = u"...";
    std::u16string text(content.substr(0, content.find(u'\r')));
    const bool lineCut = text.size() < content.size();
    const int ellipsisWidth = width(kEllipsis);
    int measured = width(text) + (lineCut ? ellipsisWidth : 0);
    const int available = clientWidth - 4;
    const auto scale = static_cast<std::size_t>(std::max(clientWidth, 0));
    bool shortened = false;
    // An empty text has nothing left to cut: "..." alone may not fit.
    while (measured > available && !text.empty()) {
        shortened = true;
        text.pop_back();
        if (measured > 0)
            text.resize(
                std::min(text.size(), text.size() * scale / static_cast<std::size_t>(measured)));
        measured = width(text) + ellipsisWidth;
    }
    if (shortened || lineCut)
        text += kEllipsis;
    return text;
}

} // namespace gw
