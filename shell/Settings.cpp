#include "shell/Settings.h"

#include "keyboard/KeyboardModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gw {
namespace {

constexpr std::uint32_t kSmallestMinDrag = 15;

// "TraceColorDlgCustomColor00" .. "TraceColorDlgCustomColor15".
std::u16string CustomColorName(int index) {
    std::u16string name = u"TraceColorDlgCustomColor";
    name += static_cast<char16_t>(u'0' + index / 10);
    name += static_cast<char16_t>(u'0' + index % 10);
    return name;
}

// An on/off value is on only when stored as exactly 1; absent, it keeps its default.
void ReadFlag(SettingsStore& store, std::u16string_view name, bool& flag, bool fallback) {
    std::uint32_t value = 0;
    flag = store.ReadDword(name, value) ? value == 1 : fallback;
}

std::uint32_t ReadNumber(SettingsStore& store, std::u16string_view name, std::uint32_t fallback) {
    std::uint32_t value = 0;
    return store.ReadDword(name, value) ? value : fallback;
}

std::u16string ReadText(SettingsStore& store, std::u16string_view name,
                        std::u16string_view fallback) {
    std::u16string text;
    return store.ReadString(name, text, kSettingsStringBytes) ? text : std::u16string(fallback);
}

} // namespace

bool DecodeStringValue(std::span<const std::uint8_t> data, std::size_t bufferBytes,
                       std::u16string& text) {
    if (data.size() > bufferBytes)
        return false;
    std::u16string decoded;
    const std::size_t units = data.size() / 2;
    bool terminated = false;
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (unit == 0) {
            terminated = true;
            break;
        }
        decoded += unit;
    }
    // Unterminated data is read as if the terminator had been stored, so the same length limit
    // holds whether or not the writer stored one.
    if (!terminated && (decoded.size() + 1) * 2 > bufferBytes)
        return false;
    text = std::move(decoded);
    return true;
}

std::uint32_t CircleAreaRatioToStored(double ratio) {
    double scaled = ratio * 10000.0;
    const double nearest = std::round(scaled);
    if (std::fabs(scaled - nearest) < 1e-6)
        scaled = nearest;
    if (!(scaled > 0.0)) // also NaN
        return 0;
    constexpr auto kMax = std::numeric_limits<std::uint32_t>::max();
    if (scaled >= static_cast<double>(kMax))
        return kMax;
    return static_cast<std::uint32_t>(std::trunc(scaled));
}

double CircleAreaRatioFromStored(std::uint32_t stored) {
    return stored * 0.0001;
}

void LoadMacroSettings(SettingsStore& store, MacroSettings& macros) {
    const std::uint32_t hotKey = ReadNumber(store, u"MacroHotKey", 0);
    macros.hotKeyVk = static_cast<std::uint16_t>(hotKey & 0xFFFF);
    macros.hotKeyModifiers = static_cast<std::uint16_t>(hotKey >> 16);
    macros.macroDlgX = ReadNumber(store, u"MacroDlgX", 0);
    macros.macroDlgY = ReadNumber(store, u"MacroDlgY", 0);
    macros.macroEditDlgX = ReadNumber(store, u"MacroEditDlgX", 0);
    macros.macroEditDlgY = ReadNumber(store, u"MacroEditDlgY", 0);
    macros.currentMacroFilename = ReadText(store, u"CurrentMacroFilename", u"");
}

void SaveMacroSettings(SettingsStore& store, const MacroSettings& macros) {
    store.WriteDword(u"MacroHotKey",
                     static_cast<std::uint32_t>(macros.hotKeyModifiers) << 16 | macros.hotKeyVk);
    store.WriteDword(u"MacroDlgX", macros.macroDlgX);
    store.WriteDword(u"MacroDlgY", macros.macroDlgY);
    store.WriteDword(u"MacroEditDlgX", macros.macroEditDlgX);
    store.WriteDword(u"MacroEditDlgY", macros.macroEditDlgY);
    store.WriteString(u"CurrentMacroFilename", macros.currentMacroFilename);
}

void LoadSettings(SettingsStore& store, AppSettings& app, EngineSettings& engine,
                  MacroSettings& macros) {
    // The engine's values: an absent one leaves the engine's own default in place.
    ReadFlag(store, u"DrawTrace", engine.drawTrace, engine.drawTrace);
    engine.minimizeTime = ReadNumber(store, u"MinimizeTime", engine.minimizeTime);
    ReadFlag(store, u"DontMinimize", engine.dontMinimize, engine.dontMinimize);
    engine.minDrag = ReadNumber(store, u"MinDrag", engine.minDrag);
    engine.maxDrag = ReadNumber(store, u"MaxDrag", engine.maxDrag);
    ReadFlag(store, u"MaxDragMacros", engine.maxDragMacros, engine.maxDragMacros);
    engine.shiftCtrlAltDragAction =
        ReadNumber(store, u"ShiftCtrlAltDragAction", engine.shiftCtrlAltDragAction);

    // "CurrentVersion" is only ever written.
    const AppSettings defaults;
    app.keyboardState = ReadNumber(store, u"KeyboardState", defaults.keyboardState);
    app.keyboardSize = ReadNumber(store, u"KeyboardSize", defaults.keyboardSize);
    if (app.keyboardSize < 1 || app.keyboardSize > static_cast<std::uint32_t>(kSizeCount))
        app.keyboardSize = kDefaultSize;
    std::uint32_t busy = 0;
    app.busyKeyboard = store.ReadDword(u"BusyKeyboard", busy) ? busy != 0 : defaults.busyKeyboard;
    app.transparency = ReadNumber(store, u"Transparency", defaults.transparency);
    ReadFlag(store, u"MinimizeToTray", app.minimizeToTray, defaults.minimizeToTray);
    ReadFlag(store, u"StartMinimized", app.startMinimized, defaults.startMinimized);
    std::uint32_t ratio = 0;
    app.circleAreaRatio = store.ReadDword(u"CircleAreaRatio", ratio)
                              ? CircleAreaRatioFromStored(ratio)
                              : defaults.circleAreaRatio;
    app.traceColor = ReadNumber(store, u"TraceColor", defaults.traceColor);
    app.followCaret = false;
    app.vertDistToClosestEdge = static_cast<std::int32_t>(
        ReadNumber(store, u"VertDistToClosestEdge",
                   static_cast<std::uint32_t>(defaults.vertDistToClosestEdge)));
    app.horizDistToClosestEdge = static_cast<std::int32_t>(
        ReadNumber(store, u"HorizDistToClosestEdge",
                   static_cast<std::uint32_t>(defaults.horizDistToClosestEdge)));
    app.closestCorner = ReadNumber(store, u"ClosestCorner", defaults.closestCorner);
    for (int i = 0; i < kCustomColorCount; ++i)
        app.customColors[i] = ReadNumber(store, CustomColorName(i), defaults.customColors[i]);
    app.language = ReadText(store, u"Language", defaults.language);

    LoadMacroSettings(store, macros);

    // A too short drag threshold would turn taps into strokes: both limits go back together.
    if (engine.minDrag < kSmallestMinDrag) {
        engine.minDrag = EngineSettings{}.minDrag;
        engine.maxDrag = EngineSettings{}.maxDrag;
    }
}

void SaveSettings(SettingsStore& store, const AppSettings& app, const EngineSettings& engine,
                  const MacroSettings& macros) {
    auto flag = [](bool on) -> std::uint32_t { return on ? 1 : 0; };
    store.WriteDword(u"DrawTrace", flag(engine.drawTrace));
    store.WriteDword(u"MinimizeTime", engine.minimizeTime);
    store.WriteDword(u"DontMinimize", flag(engine.dontMinimize));
    store.WriteDword(u"MinDrag", engine.minDrag);
    store.WriteDword(u"MaxDrag", engine.maxDrag);
    store.WriteDword(u"MaxDragMacros", flag(engine.maxDragMacros));
    store.WriteDword(u"KeyboardState", app.keyboardState);
    store.WriteDword(u"CurrentVersion", kSettingsVersion);
    store.WriteDword(u"KeyboardSize", app.keyboardSize);
    store.WriteDword(u"BusyKeyboard", flag(app.busyKeyboard));
    store.WriteDword(u"Transparency", app.transparency);
    store.WriteDword(u"ShiftCtrlAltDragAction", engine.shiftCtrlAltDragAction);
    store.WriteDword(u"MinimizeToTray", flag(app.minimizeToTray));
    store.WriteDword(u"StartMinimized", flag(app.startMinimized));
    store.WriteDword(u"CircleAreaRatio", CircleAreaRatioToStored(app.circleAreaRatio));
    store.WriteDword(u"TraceColor", app.traceColor);
    store.WriteDword(u"FollowCaret", flag(app.followCaret));
    store.WriteDword(u"VertDistToClosestEdge",
                     static_cast<std::uint32_t>(app.vertDistToClosestEdge));
    store.WriteDword(u"HorizDistToClosestEdge",
                     static_cast<std::uint32_t>(app.horizDistToClosestEdge));
    store.WriteDword(u"ClosestCorner", app.closestCorner);
    for (int i = 0; i < kCustomColorCount; ++i)
        store.WriteDword(CustomColorName(i), app.customColors[i]);
    store.WriteString(u"Language", app.language);
    SaveMacroSettings(store, macros);
}

void ResetToDefaults(AppSettings& app, EngineSettings& engine) {
    const EngineSettings engineDefaults;
    engine.maxDragMacros = engineDefaults.maxDragMacros;
    engine.maxDrag = engineDefaults.maxDrag;
    engine.minDrag = engineDefaults.minDrag;
    engine.shiftCtrlAltDragAction = engineDefaults.shiftCtrlAltDragAction;
    engine.minimizeTime = engineDefaults.minimizeTime;
    engine.drawTrace = engineDefaults.drawTrace;
    engine.dontMinimize = engineDefaults.dontMinimize;
    const AppSettings appDefaults;
    app.traceColor = appDefaults.traceColor;
    app.circleAreaRatio = appDefaults.circleAreaRatio;
    app.language = appDefaults.language;
}

std::uint8_t AlphaForTransparency(std::uint32_t transparency) {
    const std::uint32_t t = std::min<std::uint32_t>(transparency, 90);
    return static_cast<std::uint8_t>((100 - t) * 255 / 100);
}

} // namespace gw
