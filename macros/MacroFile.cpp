#include "macros/MacroFile.h"

#include <algorithm>

namespace gw {

namespace {

char16_t FoldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

void AppendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Reads little-endian values from the file; a read past its end fails and every later one too.
class FileReader {
public:
    explicit FileReader(std::span<const std::uint8_t> file) : file_(file) {}

    bool Read(std::uint32_t& value, std::size_t bytes) {
        if (!Has(bytes))
            return false;
        value = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            value |= static_cast<std::uint32_t>(file_[at_ + i]) << (8 * i);
        at_ += bytes;
        return true;
    }
    // The next count bytes, or nothing when fewer are left (nothing is allocated for them).
    bool Take(std::uint64_t count, std::span<const std::uint8_t>& bytes) {
        if (!Has(count))
            return false;
        bytes = file_.subspan(at_, static_cast<std::size_t>(count));
        at_ += static_cast<std::size_t>(count);
        return true;
    }
    bool ReadString(std::u16string& text, AnsiDecoder decodeAnsi);

private:
    bool Has(std::uint64_t count) const { return count <= file_.size() - at_; }

    std::span<const std::uint8_t> file_;
    std::size_t at_ = 0;
};

// The length forms: a byte below FF; else FF and 16 bits below FFFE; else FF, FFFF and 32 bits.
// FF FE FF before the length marks UTF-16 characters; without it they are ANSI bytes.
bool FileReader::ReadString(std::u16string& text, AnsiDecoder decodeAnsi) {
    std::uint32_t length = 0;
    bool wide = false;
    if (!Read(length, 1))
        return false;
    if (length == 0xFF) {
        if (!Read(length, 2))
            return false;
        if (length == 0xFFFE) {
            wide = true;
            if (!Read(length, 1))
                return false;
            if (length == 0xFF && !Read(length, 2))
                return false;
        }
        if (length >= 0xFFFE && !Read(length, 4))
            return false;
    }
    std::span<const std::uint8_t> bytes;
    if (!Take(wide ? std::uint64_t{length} * 2 : length, bytes))
        return false;
    if (wide) {
        text.resize(length);
        for (std::size_t i = 0; i < length; ++i)
            text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    } else {
        text =
            decodeAnsi(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    // Text ends at its first U+0000.
    text.erase(std::min(text.find(u'\0'), text.size()));
    return true;
}

} // namespace

bool MacroKeyLess::operator()(std::u16string_view a, std::u16string_view b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

void StoreMacro(MacroMap& macros, std::u16string_view key, std::u16string_view content) {
    const auto found = macros.find(key);
    if (found != macros.end())
        found->second = content;
    else
        macros.emplace(key, content);
}

void AppendArchiveString(std::vector<std::uint8_t>& out, std::u16string_view text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    out.insert(out.end(), {0xFF, 0xFE, 0xFF});
    if (length < 0xFF) {
        AppendLittleEndian(out, length, 1);
    } else if (length < 0xFFFE) {
        out.push_back(0xFF);
        AppendLittleEndian(out, length, 2);
    } else {
        out.insert(out.end(), {0xFF, 0xFF, 0xFF});
        AppendLittleEndian(out, length, 4);
    }
    for (char16_t c : text)
        AppendLittleEndian(out, c, 2);
}

std::vector<std::uint8_t> WriteMacroFile(const MacroMap& macros) {
    std::vector<std::uint8_t> out;
    AppendLittleEndian(out, static_cast<std::uint32_t>(macros.size()), 4);
    for (const auto& [key, content] : macros) {
        AppendArchiveString(out, key);
        AppendArchiveString(out, content);
    }
    return out;
}

std::size_t ReadMacroFile(std::span<const std::uint8_t> file, MacroMap& macros,
                          AnsiDecoder decodeAnsi) {
    FileReader reader(file);
    std::uint32_t count = 0;
    if (!reader.Read(count, 4))
        return 0;
    std::size_t read = 0;
    for (; read < count; ++read) {
        std::u16string key;
        std::u16string content;
        if (!reader.ReadString(key, decodeAnsi) || !reader.ReadString(content, decodeAnsi))
            break;
        StoreMacro(macros, key, content);
    }
    return read;
}

} // namespace gw
