#pragma once
// The virtual-key codes of the US-English keyboard that the portable code names: the layout's
// slots and the pictures that show them. (The portable code has no Windows header.)
#include <cstdint>

namespace gw {

enum VirtualKey : std::uint8_t {
    kVkNone = 1, // no US key gives the character
    kVkBack = 0x08,
    kVkTab = 0x09,
    kVkReturn = 0x0D,
    kVkEscape = 0x1B,
    kVkSpace = 0x20,
    kVkPageUp = 0x21,
    kVkPageDown = 0x22,
    kVkEnd = 0x23,
    kVkHome = 0x24,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkInsert = 0x2D,
    kVkDelete = 0x2E,
    kVkF1 = 0x70,
    kVkF24 = 0x87,
    kVkSemicolon = 0xBA, // ; :
    kVkPlus = 0xBB,      // = +
    kVkComma = 0xBC,     // , <
    kVkMinus = 0xBD,     // - _
    kVkPeriod = 0xBE,    // . >
    kVkSlash = 0xBF,     // / ?
    kVkGrave = 0xC0,     // ` ~
    kVkOpen = 0xDB,      // [ {
    kVkBackslash = 0xDC, // \ |
    kVkClose = 0xDD,     // ] }
    kVkQuote = 0xDE,     // ' "
};

} // namespace gw
