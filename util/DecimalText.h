#pragma once
// A number as UTF-16 decimal digits. Header only: the keyboard and the practice game both use
// it, and the game links nothing of the keyboard.
#include <string>

namespace gw {

inline std::u16string DecimalText(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace gw
