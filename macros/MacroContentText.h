#pragma once
// What the macro content window shows of a macro's content: its first line, shortened with
// "..." to the window's width.
#include <functional>
#include <string>
#include <string_view>

namespace gw {

// The width of a text in pixels, in the window's font.
using TextWidth = std::function<int(std::u16string_view)>;

std::u16string MacroContentDisplayText(std::u16string_view content, int clientWidth,
                                       const TextWidth& width);

} // namespace gw
