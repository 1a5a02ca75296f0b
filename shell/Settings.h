#pragma once
// The user settings: the values kept under the program's settings key, their defaults and the
// rules by which stored values are accepted, the load and save of the whole set, and the reset
// that the settings dialog offers. The key itself is reached through SettingsStore; on Windows
// that is the registry key HKCU\SOFTWARE\Vantorel\Glyphwell.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace gw {

// The key-value store that holds the settings. Every operation stands alone (on Windows it
// opens the key and releases it again) and returns true on success.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // True only when the value exists as a 4-byte DWORD; value is left alone otherwise.
    virtual bool ReadDword(std::u16string_view name, std::uint32_t& value) = 0;
    // True only when the value exists as a string that fits, with its terminating zero, into a
    // buffer of bufferBytes bytes; text is left alone otherwise.
    virtual bool ReadString(std::u16string_view name, std::u16string& text,
                            std::size_t bufferBytes) = 0;
    virtual bool WriteDword(std::u16string_view name, std::uint32_t value) = 0;
    // Stores the text with its terminating zero: (length + 1) * 2 bytes.
    virtual bool WriteString(std::u16string_view name, std::u16string_view text) = 0;
};

// Both stored strings are read into buffers of this many bytes, so a string of 127 or more
// characters does not fit with its terminating zero and counts as absent.
constexpr std::size_t kSettingsStringBytes = 255;
constexpr std::uint32_t kSettingsVersion = 411;
constexpr int kCustomColorCount = 16;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// Turns the bytes of a stored string (UTF-16 little-endian, as a query into a buffer of
// bufferBytes bytes returned them) into text. The text ends at the first zero; stored data
// without one is accepted only if the buffer would still have room for the terminator. An odd
// last byte is not part of any character. False when the data does not fit the buffer.
bool DecodeStringValue(std::span<const std::uint8_t> data, std::size_t bufferBytes,
                       std::u16string& text);

// The stored form of the circle gesture ratio: ratio * 10000, truncated toward zero. A product
// that misses an integer only by floating-point error counts as that integer, so a ratio
// written as 0.0029 is stored as 29 and not 28; negative and NaN store as 0, huge ratios as
// the largest DWORD.
std::uint32_t CircleAreaRatioToStored(double ratio);
double CircleAreaRatioFromStored(std::uint32_t stored);

// The seven values the character engine uses. The engine holds them; these are its
// constructor's defaults, and a value absent from the store leaves them in place.
struct EngineSettings {
    std::uint32_t minimizeTime = 10; // minutes without use before the keyboard minimizes
    bool dontMinimize = false;
    bool drawTrace = true;
    std::uint32_t minDrag = 30;
    std::uint32_t maxDrag = 200;
    bool maxDragMacros = false;               // "Macro &Recall"
    std::uint32_t shiftCtrlAltDragAction = 0; // 0 send with characters, else immediately
    bool operator==(const EngineSettings&) const = default;
};

// The settings held by the application object itself.
struct AppSettings {
    std::uint32_t keyboardState = 0; // 0 Normal, 1 Horizontal, 2 Vertical
    std::uint32_t keyboardSize = 3;  // 1..6
    bool busyKeyboard = false;
    std::uint32_t transparency = 0; // percent, 0..90 in steps of 10
    bool minimizeToTray = true;
    bool startMinimized = false;
    double circleAreaRatio = 0.12;
    std::uint32_t traceColor = kWhite; // 0x00BBGGRR
    bool followCaret = false;          // saved, never loaded
    std::int32_t vertDistToClosestEdge = 0;
    std::int32_t horizDistToClosestEdge = 0;
    std::uint32_t closestCorner = 0; // bit 0 right edge, bit 1 bottom edge
    std::array<std::uint32_t, kCustomColorCount> customColors = MakeWhiteColors();
    std::u16string language = u"English";
    bool operator==(const AppSettings&) const = default;

private:
    static constexpr std::array<std::uint32_t, kCustomColorCount> MakeWhiteColors() {
        std::array<std::uint32_t, kCustomColorCount> colors{};
        colors.fill(kWhite);
        return colors;
    }
};

// The macro layer's values, kept in the same key.
struct MacroSettings {
    std::uint16_t hotKeyVk = 0; // 0 = no hot key
    std::uint16_t hotKeyModifiers = 0;
    std::uint32_t macroDlgX = 0; // sizes of the two macro dialogs; 0 keeps the template's
    std::uint32_t macroDlgY = 0;
    std::uint32_t macroEditDlgX = 0;
    std::uint32_t macroEditDlgY = 0;
    std::u16string currentMacroFilename; // empty = the default macro store
    bool operator==(const MacroSettings&) const = default;
};

// Reads the six macro values; an absent one takes its default.
void LoadMacroSettings(SettingsStore& store, MacroSettings& macros);
// Writes the six macro values; failed writes are ignored.
void SaveMacroSettings(SettingsStore& store, const MacroSettings& macros);

// Reads every setting with its acceptance rule, then the macro values, then applies the drag
// rule. Writes nothing. "FollowCaret" is not read: every start begins with following off.
void LoadSettings(SettingsStore& store, AppSettings& app, EngineSettings& engine,
                  MacroSettings& macros);
// Writes the complete set in its fixed order, then the macro values. Failed writes are
// ignored.
void SaveSettings(SettingsStore& store, const AppSettings& app, const EngineSettings& engine,
                  const MacroSettings& macros);

// The main window's layered alpha for the "Transparency" percentage: (100 - t) * 255 / 100, so
// 30 gives 178. A stored value above 90 counts as 90: the window never becomes invisible.
std::uint8_t AlphaForTransparency(std::uint32_t transparency);

// The settings dialog's reset: restores the values the dialog edits (not "FollowCaret" or the
// custom colours) and leaves every other setting alone.
void ResetToDefaults(AppSettings& app, EngineSettings& engine);

} // namespace gw
