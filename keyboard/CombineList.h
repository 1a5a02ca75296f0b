#pragma once
// Combining two typed characters into one: the rule record, the built-in list and the lookup.
#include <cstdint>
#include <span>
#include <vector>

namespace gw {

struct CombineElement {
    char16_t FirstChar = 0; // 0 = none
    char16_t SecondChar = 0;
    char16_t ResultChar = 0;
    std::uint8_t RotFlag = 0;         // the combine gesture cycles through such records
    std::uint8_t CaseMatters = 0;     // match the typed case exactly
    std::uint8_t AutoCombineFlag = 0; // combine as soon as the second character is typed
    bool operator==(const CombineElement&) const = default;
};

using CombineList = std::vector<CombineElement>;

// The compiled-in rules, in order; lookups take the first match, so the order matters.
std::span<const CombineElement> BuiltInCombineList();

struct CombineResult {
    char16_t result = 0;
    int count = 0; // typed characters the result replaces: 2 for a pair, 1 for a rotation
};

enum class CombineScope { All, AutoOnly };

// Looks up the result of the last two typed characters (previous, last), then, unless only
// automatic rules are asked for, the rotation of the last character.
CombineResult CombineLookup(std::span<const CombineElement> list, char16_t previous, char16_t last,
                            CombineScope scope);

// Upper- and lower-case Latin-1 letters, as the combine and case rules see them.
bool IsLowerLetter(char16_t ch);
char16_t ToLowerLetter(char16_t ch);

} // namespace gw
