#pragma once
// The macro map and the macro file. A macro is a key the user types and the content typed in
// its place. Keys are unique without regard to the case of A-Z; the map's order is the file's
// and the Macro Scribe list's. The file (macros.dat and the user's *.msb files alike) is a
// 32-bit count followed by key and content of each macro as archive strings.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gw {

// A-Z compare as a-z, every other code unit by its value, a shorter prefix first.
struct MacroKeyLess {
    bool operator()(std::u16string_view a, std::u16string_view b) const;
    using is_transparent = void;
};

using MacroMap = std::map<std::u16string, std::u16string, MacroKeyLess>;

// The white space that ends a typed key and that a key may not hold: tab, line feed, vertical
// tab, form feed, carriage return and space.
constexpr bool IsMacroWhiteSpace(char16_t ch) {
    return (ch >= 0x09 && ch <= 0x0D) || ch == 0x20;
}

// Stores the content under the key. A key already present in another letter case keeps the
// spelling it has and takes the new content.
void StoreMacro(MacroMap& macros, std::u16string_view key, std::u16string_view content);

// Converts text of the system's ANSI code page, as older files hold it, to UTF-16.
using AnsiDecoder = std::u16string (*)(std::string_view bytes);

// Appends one archive string as it is written: the Unicode marker FF FE FF, the length in
// one, three or seven bytes, the UTF-16LE code units.
void AppendArchiveString(std::vector<std::uint8_t>& out, std::u16string_view text);

// The whole file for the map: the count, then key and content of each macro in map order.
std::vector<std::uint8_t> WriteMacroFile(const MacroMap& macros);

// Reads a file's records into the map, merging them with what it holds. Reading ends at the
// first record that is cut short or announces more bytes than the file has left; the records
// before it stay. Returns the number of records read.
std::size_t ReadMacroFile(std::span<const std::uint8_t> file, MacroMap& macros,
                          AnsiDecoder decodeAnsi);

} // namespace gw
