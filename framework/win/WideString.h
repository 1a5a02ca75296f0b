#pragma once
// Conversion between the portable code's UTF-16 strings and the Win32 API's wide strings.
// On Windows wchar_t is a UTF-16 code unit, so the conversion is a copy of the same units.
#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}
