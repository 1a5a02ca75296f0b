#pragma once
// A settings store in memory, for tests. It keeps each value as the registry does, a type and
// raw bytes, so a test can plant values of another type or of an odd size, and it logs the
// names written in order.
#include "shell/Settings.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gw {

class MemorySettingsStore : public SettingsStore {
public:
    // The registry's type numbers.
    enum Type : std::uint32_t { kString = 1, kBinary = 3, kDword = 4 };
    struct Value {
        std::uint32_t type = kBinary;
        std::vector<std::uint8_t> bytes;
    };

    bool ReadDword(std::u16string_view name, std::uint32_t& value) override {
        const auto stored = unavailable ? std::nullopt : Dword(name);
        if (stored)
            value = *stored;
        return stored.has_value();
    }
    bool ReadString(std::u16string_view name, std::u16string& text,
                    std::size_t bufferBytes) override {
        const Value* stored = unavailable ? nullptr : Find(name);
        return stored && stored->type == kString &&
               DecodeStringValue(stored->bytes, bufferBytes, text);
    }
    bool WriteDword(std::u16string_view name, std::uint32_t value) override {
        return Write(name, DwordValue(value));
    }
    bool WriteString(std::u16string_view name, std::u16string_view text) override {
        return Write(name, StringValue(text));
    }

    // Planting values as another program (or an older version) left them.
    void Set(std::u16string_view name, Value value) {
        values_[std::u16string(name)] = std::move(value);
    }
    static Value DwordValue(std::uint32_t v) {
        return {kDword,
                {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                 static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)}};
    }
    // The text's units, little-endian, with a terminating zero unless told otherwise.
    static Value StringValue(std::u16string_view text, bool terminated = true) {
        Value value{kString, {}};
        for (char16_t unit : text) {
            value.bytes.push_back(static_cast<std::uint8_t>(unit));
            value.bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        if (terminated)
            value.bytes.insert(value.bytes.end(), 2, 0);
        return value;
    }

    const Value* Find(std::u16string_view name) const {
        auto it = values_.find(name);
        return it == values_.end() ? nullptr : &it->second;
    }
    // A 4-byte DWORD value as stored, or nothing.
    std::optional<std::uint32_t> Dword(std::u16string_view name) const {
        const Value* stored = Find(name);
        if (!stored || stored->type != kDword || stored->bytes.size() != 4)
            return std::nullopt;
        const auto& b = stored->bytes;
        return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
    std::size_t size() const { return values_.size(); }

    // The names written, in order.
    std::vector<std::u16string> writes;
    // While set, every operation fails, as when the key cannot be opened.
    bool unavailable = false;

private:
    bool Write(std::u16string_view name, Value value) {
        if (unavailable)
            return false;
        writes.emplace_back(name);
        Set(name, std::move(value));
        return true;
    }
    std::map<std::u16string, Value, std::less<>> values_;
};

} // namespace gw
