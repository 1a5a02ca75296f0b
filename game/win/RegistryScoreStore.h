#pragma once
// The score table's values under HKEY_CURRENT_USER\SOFTWARE\Vantorel\Glyphwell Game.
#include "game/TopScores.h"

inline constexpr wchar_t kGameRegistryKey[] = L"SOFTWARE\\Vantorel\\Glyphwell Game";

class RegistryScoreStore : public gw::ScoreStore {
public:
    // REG_SZ gives its text without the terminating NUL; REG_DWORD its number with at least
    // three digits.
    std::optional<std::u16string> Read(std::u16string_view name) const override;
    // Writes REG_SZ as ANSI text with its NUL, creating the key when it is missing.
    void Write(std::u16string_view name, std::u16string_view text) override;
};
