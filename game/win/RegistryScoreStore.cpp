#include "game/win/RegistryScoreStore.h"

#include "framework/win/WideString.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The text in the system's ANSI code page, with its terminating NUL.
std::string ToAnsi(std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

} // namespace

std::optional<std::u16string> RegistryScoreStore::Read(std::u16string_view name) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kGameRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring valueName = ToWide(name);
    wchar_t buffer[1024] = {}; // 2048 bytes
    DWORD type = 0;
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    const LONG status = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(buffer), &bytes);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD && bytes == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, buffer, sizeof(number));
        char digits[16];
        std::snprintf(digits, sizeof(digits), "%03lu", static_cast<unsigned long>(number));
        return std::u16string(digits, digits + std::strlen(digits));
    }
    if (type != REG_SZ)
        return std::nullopt;
    std::wstring text(buffer, bytes / sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return FromWide(text);
}

void RegistryScoreStore::Write(std::u16string_view name, std::u16string_view text) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kGameRegistryKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return;
    const std::string ansi = ToAnsi(text);
    const std::string ansiName = ToAnsi(name);
    // The stored length counts the terminating NUL, which ansi holds.
    ::RegSetValueExA(key, ansiName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi.data()),
                     static_cast<DWORD>(ansi.size()));
    ::RegFlushKey(key);
    ::RegCloseKey(key);
}
