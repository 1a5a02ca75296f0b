// The settings: acceptance rules at load, the saved set and its order, the reset, and the
// per-user data folder, over in-memory ports.
#include "shell/Settings.h"
#include "shell/MemorySettingsStore.h"
#include "shell/UserDataFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace gw {
namespace {

using Value = MemorySettingsStore::Value;

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Every value a save writes, in the order it writes them.
const std::vector<std::u16string> kSaveOrder = {
    u"DrawTrace",
    u"MinimizeTime",
    u"DontMinimize",
    u"MinDrag",
    u"MaxDrag",
    u"MaxDragMacros",
    u"KeyboardState",
    u"CurrentVersion",
    u"KeyboardSize",
    u"BusyKeyboard",
    u"Transparency",
    u"ShiftCtrlAltDragAction",
    u"MinimizeToTray",
    u"StartMinimized",
    u"CircleAreaRatio",
    u"TraceColor",
    u"FollowCaret",
    u"VertDistToClosestEdge",
    u"HorizDistToClosestEdge",
    u"ClosestCorner",
    u"TraceColorDlgCustomColor00",
    u"TraceColorDlgCustomColor01",
    u"TraceColorDlgCustomColor02",
    u"TraceColorDlgCustomColor03",
    u"TraceColorDlgCustomColor04",
    u"TraceColorDlgCustomColor05",
    u"TraceColorDlgCustomColor06",
    u"TraceColorDlgCustomColor07",
    u"TraceColorDlgCustomColor08",
    u"TraceColorDlgCustomColor09",
    u"TraceColorDlgCustomColor10",
    u"TraceColorDlgCustomColor11",
    u"TraceColorDlgCustomColor12",
    u"TraceColorDlgCustomColor13",
    u"TraceColorDlgCustomColor14",
    u"TraceColorDlgCustomColor15",
    u"Language",
    u"MacroHotKey",
    u"MacroDlgX",
    u"MacroDlgY",
    u"MacroEditDlgX",
    u"MacroEditDlgY",
    u"CurrentMacroFilename",
};

struct Loaded {
    AppSettings app;
    EngineSettings engine;
    MacroSettings macros;
};

Loaded Load(MemorySettingsStore& store) {
    Loaded loaded;
    LoadSettings(store, loaded.app, loaded.engine, loaded.macros);
    return loaded;
}

// A set in which every value differs from its default and survives the acceptance rules.
Loaded NonDefaultSet() {
    Loaded s;
    s.engine = {.minimizeTime = 25,
                .dontMinimize = true,
                .drawTrace = false,
                .minDrag = 40,
                .maxDrag = 300,
                .maxDragMacros = true,
                .shiftCtrlAltDragAction = 1};
    s.app.keyboardState = 2;
    s.app.keyboardSize = 5;
    s.app.busyKeyboard = true;
    s.app.transparency = 40;
    s.app.minimizeToTray = false;
    s.app.startMinimized = true;
    s.app.circleAreaRatio = 0.2;
    s.app.traceColor = 0x0000FF;
    s.app.followCaret = true;
    s.app.vertDistToClosestEdge = -12;
    s.app.horizDistToClosestEdge = -7;
    s.app.closestCorner = 3;
    for (int i = 0; i < kCustomColorCount; ++i)
        s.app.customColors[i] = 0x010203u * static_cast<std::uint32_t>(i);
    s.app.language = u"Deutsch \u00C4";
    s.macros = {.hotKeyVk = 0x51,
                .hotKeyModifiers = 6,
                .macroDlgX = 640,
                .macroDlgY = 480,
                .macroEditDlgX = 320,
                .macroEditDlgY = 240,
                .currentMacroFilename = u"C:\\Macros\\mine.msb"};
    return s;
}

TEST(Settings, FirstStartLoadsDefaultsAndTheFirstSaveWritesTheWholeSetInOrder) {
    MemorySettingsStore store;
    Loaded s = Load(store);
    EXPECT_EQ(s.engine, EngineSettings{});
    EXPECT_EQ(s.app, AppSettings{});
    EXPECT_EQ(s.macros, MacroSettings{});
    EXPECT_TRUE(store.writes.empty()) << "a load writes nothing";

    SaveSettings(store, s.app, s.engine, s.macros);
    EXPECT_EQ(store.writes, kSaveOrder);
    EXPECT_EQ(store.size(), kSaveOrder.size());

    const std::map<std::u16string, std::uint32_t> expectedDwords = {
        {u"DrawTrace", 1},
        {u"MinimizeTime", 10},
        {u"DontMinimize", 0},
        {u"MinDrag", 30},
        {u"MaxDrag", 200},
        {u"MaxDragMacros", 0},
        {u"KeyboardState", 0},
        {u"CurrentVersion", 411},
        {u"KeyboardSize", 3},
        {u"BusyKeyboard", 0},
        {u"Transparency", 0},
        {u"ShiftCtrlAltDragAction", 0},
        {u"MinimizeToTray", 1},
        {u"StartMinimized", 0},
        {u"CircleAreaRatio", 1200},
        {u"TraceColor", 0xFFFFFF},
        {u"FollowCaret", 0},
        {u"VertDistToClosestEdge", 0},
        {u"HorizDistToClosestEdge", 0},
        {u"ClosestCorner", 0},
        {u"TraceColorDlgCustomColor00", 0xFFFFFF},
        {u"TraceColorDlgCustomColor15", 0xFFFFFF},
        {u"MacroHotKey", 0},
        {u"MacroDlgX", 0},
        {u"MacroEditDlgY", 0},
    };
    for (const auto& [name, value] : expectedDwords) {
        const Value* stored = store.Find(name);
        ASSERT_NE(stored, nullptr) << Narrow(name);
        EXPECT_EQ(stored->type, MemorySettingsStore::kDword) << Narrow(name);
        EXPECT_EQ(store.Dword(name), value) << Narrow(name);
    }
    const std::vector<std::uint8_t> english = {'E', 0, 'n', 0, 'g', 0, 'l', 0,
                                               'i', 0, 's', 0, 'h', 0, 0,   0};
    ASSERT_NE(store.Find(u"Language"), nullptr);
    EXPECT_EQ(store.Find(u"Language")->type, MemorySettingsStore::kString);
    EXPECT_EQ(store.Find(u"Language")->bytes, english);
    ASSERT_NE(store.Find(u"CurrentMacroFilename"), nullptr);
    EXPECT_EQ(store.Find(u"CurrentMacroFilename")->bytes, (std::vector<std::uint8_t>{0, 0}));
}

TEST(Settings, StoredValuesAreAcceptedByTheirRules) {
    const std::u16string len126(126, u'x'), len127(127, u'x');
    struct Case {
        const char* what;
        std::vector<std::pair<std::u16string, Value>> planted;
        std::function<void(const Loaded&)> check;
    };
    auto dword = MemorySettingsStore::DwordValue;
    auto text = [](std::u16string_view t, bool terminated = true) {
        return MemorySettingsStore::StringValue(t, terminated);
    };
    const Value twoByteDword{MemorySettingsStore::kDword, {5, 0}};
    const Value binary4{MemorySettingsStore::kBinary, {5, 0, 0, 0}};
    const Value oddLanguage{MemorySettingsStore::kString, {'D', 0, 'e', 0, 'u'}};
    const Case cases[] = {
        {"KeyboardSize 0",
         {{u"KeyboardSize", dword(0)}},
         [](const Loaded& s) { EXPECT_EQ(s.app.keyboardSize, 3u); }},
        {"KeyboardSize 7",
         {{u"KeyboardSize", dword(7)}},
         [](const Loaded& s) { EXPECT_EQ(s.app.keyboardSize, 3u); }},
        {"KeyboardSize 0xFFFFFFFF",
         {{u"KeyboardSize", dword(0xFFFFFFFF)}},
         [](const Loaded& s) { EXPECT_EQ(s.app.keyboardSize, 3u); }},
        {"KeyboardSize 6",
         {{u"KeyboardSize", dword(6)}},
         [](const Loaded& s) { EXPECT_EQ(s.app.keyboardSize, 6u); }},
        {"KeyboardSize 1",
         {{u"KeyboardSize", dword(1)}},
         [](const Loaded& s) { EXPECT_EQ(s.app.keyboardSize, 1u); }},
        {"MinDrag 14 resets both",
         {{u"MinDrag", dword(14)}, {u"MaxDrag", dword(250)}},
         [](const Loaded& s) {
             EXPECT_EQ(s.engine.minDrag, 30u);
             EXPECT_EQ(s.engine.maxDrag, 200u);
         }},
        {"MinDrag 15 kept",
         {{u"MinDrag", dword(15)}, {u"MaxDrag", dword(250)}},
         [](const Loaded& s) {
             EXPECT_EQ(s.engine.minDrag, 15u);
             EXPECT_EQ(s.engine.maxDrag, 250u);
         }},
        {"MaxDrag below MinDrag is kept",
         {{u"MinDrag", dword(50)}, {u"MaxDrag", dword(20)}},
         [](const Loaded& s) {
             EXPECT_EQ(s.engine.minDrag, 50u);
             EXPECT_EQ(s.engine.maxDrag, 20u);
         }},
        {"flags: exactly 1 is on",
         {{u"DontMinimize", dword(2)},
          {u"DrawTrace", dword(2)},
          {u"MinimizeToTray", dword(0)},
          {u"StartMinimized", dword(1)},
          {u"MaxDragMacros", dword(1)}},
         [](const Loaded& s) {
             EXPECT_FALSE(s.engine.dontMinimize);
             EXPECT_FALSE(s.engine.drawTrace);
             EXPECT_FALSE(s.app.minimizeToTray);
             EXPECT_TRUE(s.app.startMinimized);
             EXPECT_TRUE(s.engine.maxDragMacros);
         }},
        {"BusyKeyboard 2 is on",
         {{u"BusyKeyboard", dword(2)}},
         [](const Loaded& s) { EXPECT_TRUE(s.app.busyKeyboard); }},
        {"CircleAreaRatio 1500",
         {{u"CircleAreaRatio", dword(1500)}},
         [](const Loaded& s) { EXPECT_DOUBLE_EQ(s.app.circleAreaRatio, 0.15); }},
        {"CircleAreaRatio unsigned",
         {{u"CircleAreaRatio", dword(0xFFFFFFFF)}},
         [](const Loaded& s) { EXPECT_DOUBLE_EQ(s.app.circleAreaRatio, 429496.7295); }},
        {"FollowCaret 1 still starts off",
         {{u"FollowCaret", dword(1)}},
         [](const Loaded& s) { EXPECT_FALSE(s.app.followCaret); }},
        {"unchecked numbers as stored",
         {{u"KeyboardState", dword(7)},
          {u"Transparency", dword(55)},
          {u"ClosestCorner", dword(9)},
          {u"MinimizeTime", dword(0)},
          {u"ShiftCtrlAltDragAction", dword(5)},
          {u"TraceColor", dword(0x123456)},
          {u"TraceColorDlgCustomColor05", dword(0xABCDEF)}},
         [](const Loaded& s) {
             EXPECT_EQ(s.app.keyboardState, 7u);
             EXPECT_EQ(s.app.transparency, 55u);
             EXPECT_EQ(s.app.closestCorner, 9u);
             EXPECT_EQ(s.engine.minimizeTime, 0u);
             EXPECT_EQ(s.engine.shiftCtrlAltDragAction, 5u);
             EXPECT_EQ(s.app.traceColor, 0x123456u);
             for (int i = 0; i < kCustomColorCount; ++i)
                 EXPECT_EQ(s.app.customColors[i], i == 5 ? 0xABCDEFu : 0xFFFFFFu) << i;
         }},
        {"positions are signed",
         {{u"VertDistToClosestEdge", dword(0xFFFFFFF6)},
          {u"HorizDistToClosestEdge", dword(0x80000000)}},
         [](const Loaded& s) {
             EXPECT_EQ(s.app.vertDistToClosestEdge, -10);
             EXPECT_EQ(s.app.horizDistToClosestEdge, std::numeric_limits<std::int32_t>::min());
         }},
        {"MacroHotKey halves",
         {{u"MacroHotKey", dword(0x00030041)}},
         [](const Loaded& s) {
             EXPECT_EQ(s.macros.hotKeyVk, 0x41);
             EXPECT_EQ(s.macros.hotKeyModifiers, 3);
         }},
        {"macro dialog sizes",
         {{u"MacroDlgX", dword(1)},
          {u"MacroDlgY", dword(2)},
          {u"MacroEditDlgX", dword(3)},
          {u"MacroEditDlgY", dword(4)},
          {u"CurrentMacroFilename", text(u"D:\\m.msb")}},
         [](const Loaded& s) {
             EXPECT_EQ(s.macros, (MacroSettings{.macroDlgX = 1,
                                                .macroDlgY = 2,
                                                .macroEditDlgX = 3,
                                                .macroEditDlgY = 4,
                                                .currentMacroFilename = u"D:\\m.msb"}));
         }},
        {"Language as a DWORD",
         {{u"Language", dword(7)}},
         [](const Loaded& s) { EXPECT_EQ(s.app.language, u"English"); }},
        {"Language of 127 characters",
         {{u"Language", text(len127)}},
         [](const Loaded& s) { EXPECT_EQ(s.app.language, u"English"); }},
        {"Language of 126 characters",
         {{u"Language", text(len126)}},
         [len126](const Loaded& s) { EXPECT_EQ(s.app.language, len126); }},
        {"unterminated Language of 126",
         {{u"Language", text(len126, false)}},
         [len126](const Loaded& s) { EXPECT_EQ(s.app.language, len126); }},
        {"unterminated Language of 127 fits no terminator",
         {{u"Language", text(len127, false)}},
         [](const Loaded& s) { EXPECT_EQ(s.app.language, u"English"); }},
        {"Language ends at a zero",
         {{u"Language", text(std::u16string(u"Deu\0tsch", 8))}},
         [](const Loaded& s) { EXPECT_EQ(s.app.language, u"Deu"); }},
        {"Language odd byte dropped",
         {{u"Language", oddLanguage}},
         [](const Loaded& s) { EXPECT_EQ(s.app.language, u"De"); }},
        {"empty Language as stored",
         {{u"Language", text(u"")}},
         [](const Loaded& s) { EXPECT_EQ(s.app.language, u""); }},
        {"CurrentMacroFilename of 127",
         {{u"CurrentMacroFilename", text(len127)}},
         [](const Loaded& s) { EXPECT_EQ(s.macros.currentMacroFilename, u""); }},
        {"DWORDs of another type or size",
         {{u"MinimizeTime", text(u"5")},
          {u"KeyboardSize", binary4},
          {u"MinDrag", twoByteDword},
          {u"MinimizeToTray", text(u"")},
          {u"CircleAreaRatio", Value{MemorySettingsStore::kDword, {0, 0, 0, 0, 1, 0, 0, 0}}}},
         [](const Loaded& s) {
             EXPECT_EQ(s.engine.minimizeTime, 10u);
             EXPECT_EQ(s.app.keyboardSize, 3u);
             EXPECT_EQ(s.engine.minDrag, 30u);
             EXPECT_TRUE(s.app.minimizeToTray);
             EXPECT_DOUBLE_EQ(s.app.circleAreaRatio, 0.12);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySettingsStore store;
        for (const auto& [name, value] : c.planted)
            store.Set(name, value);
        c.check(Load(store));
    }
}

TEST(Settings, AbsentEngineValuesKeepTheEnginesOwn) {
    MemorySettingsStore store;
    store.Set(u"MaxDrag", MemorySettingsStore::DwordValue(260));
    Loaded s;
    s.engine.minimizeTime = 25;
    s.engine.drawTrace = false;
    s.engine.minDrag = 40;
    LoadSettings(store, s.app, s.engine, s.macros);
    EXPECT_EQ(s.engine.minimizeTime, 25u);
    EXPECT_FALSE(s.engine.drawTrace);
    EXPECT_EQ(s.engine.minDrag, 40u);
    EXPECT_EQ(s.engine.maxDrag, 260u);
}

TEST(Settings, SaveThenLoadGivesTheSameSetButFollowCaretOff) {
    MemorySettingsStore store;
    const Loaded saved = NonDefaultSet();
    SaveSettings(store, saved.app, saved.engine, saved.macros);
    EXPECT_EQ(store.Dword(u"FollowCaret"), 1u);
    EXPECT_EQ(store.Dword(u"VertDistToClosestEdge"), 0xFFFFFFF4u);
    EXPECT_EQ(store.Dword(u"MacroHotKey"), 0x00060051u);
    EXPECT_EQ(store.Dword(u"CircleAreaRatio"), 2000u);

    Loaded loaded = Load(store);
    AppSettings expected = saved.app;
    expected.followCaret = false;
    EXPECT_EQ(loaded.app, expected);
    EXPECT_EQ(loaded.engine, saved.engine);
    EXPECT_EQ(loaded.macros, saved.macros);

    // A second save rewrites the whole set, in the same order.
    store.writes.clear();
    SaveSettings(store, loaded.app, loaded.engine, loaded.macros);
    EXPECT_EQ(store.writes, kSaveOrder);
    EXPECT_EQ(store.Dword(u"FollowCaret"), 0u);
}

TEST(Settings, CircleAreaRatioIsStoredTruncatedTimesTenThousand) {
    const struct {
        double ratio;
        std::uint32_t stored;
    } cases[] = {
        {0.12345, 1234},    {0.12, 1200}, {0.15, 1500},
        {0.99999, 9999},    {0.0029, 29}, // 0.0029 * 10000 is 28.999999999999996 in doubles
        {0.0, 0},           {-0.5, 0},    {std::numeric_limits<double>::quiet_NaN(), 0},
        {1e12, 0xFFFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CircleAreaRatioToStored(c.ratio), c.stored) << c.ratio;

    MemorySettingsStore store;
    AppSettings app;
    app.circleAreaRatio = 0.12345;
    SaveSettings(store, app, EngineSettings{}, MacroSettings{});
    EXPECT_EQ(store.Dword(u"CircleAreaRatio"), 1234u);

    // Every stored number survives a load and a save unchanged.
    for (std::uint32_t n = 0; n <= 100000; ++n)
        ASSERT_EQ(CircleAreaRatioToStored(CircleAreaRatioFromStored(n)), n);
}

TEST(Settings, WithoutTheKeyEveryReadFailsAndWritesDoNothing) {
    MemorySettingsStore store;
    for (const std::u16string& name : kSaveOrder)
        store.Set(name, MemorySettingsStore::DwordValue(1));
    store.Set(u"Language", MemorySettingsStore::StringValue(u"Deutsch"));
    store.unavailable = true;
    Loaded s = Load(store);
    EXPECT_EQ(s.engine, EngineSettings{});
    EXPECT_EQ(s.app, AppSettings{});
    EXPECT_EQ(s.macros, MacroSettings{});
    const Loaded changed = NonDefaultSet();
    SaveSettings(store, changed.app, changed.engine, changed.macros);
    EXPECT_TRUE(store.writes.empty());
    store.unavailable = false;
    EXPECT_EQ(store.Dword(u"MinDrag"), 1u);
}

TEST(Settings, ResetRestoresOnlyTheDialogsValues) {
    Loaded s = NonDefaultSet();
    const Loaded before = s;
    ResetToDefaults(s.app, s.engine);
    EXPECT_EQ(s.engine, EngineSettings{});
    EXPECT_EQ(s.app.traceColor, 0xFFFFFFu);
    EXPECT_DOUBLE_EQ(s.app.circleAreaRatio, 0.12);
    EXPECT_EQ(s.app.language, u"English");
    // Everything else is as it was.
    AppSettings expected = before.app;
    expected.traceColor = s.app.traceColor;
    expected.circleAreaRatio = s.app.circleAreaRatio;
    expected.language = s.app.language;
    EXPECT_EQ(s.app, expected);
}

TEST(Settings, StringValuesMustFitTheBuffer) {
    const std::vector<std::uint8_t> abc = {'a', 0, 'b', 0, 'c', 0, 0, 0};
    std::u16string text = u"unchanged";
    EXPECT_FALSE(DecodeStringValue(abc, 7, text));
    EXPECT_EQ(text, u"unchanged");
    EXPECT_TRUE(DecodeStringValue(abc, 8, text));
    EXPECT_EQ(text, u"abc");
    EXPECT_FALSE(DecodeStringValue(std::span(abc).first(6), 7, text)); // no room for the zero
    EXPECT_TRUE(DecodeStringValue(std::span(abc).first(6), 8, text));
    EXPECT_EQ(text, u"abc");
    EXPECT_FALSE(DecodeStringValue({}, 0, text));
    EXPECT_TRUE(DecodeStringValue({}, 2, text)); // a REG_SZ of no bytes at all
    EXPECT_EQ(text, u"");
}

// Shell Folders keys in memory: each value as bytes, queried as the registry would.
class FakeShellFolders : public ShellFoldersPort {
public:
    std::map<std::u16string, std::vector<std::uint8_t>, std::less<>> appData;
    std::set<std::u16string, std::less<>> notStrings; // values of another type
    std::vector<std::pair<std::u16string, std::size_t>> queries;

    bool QueryAppData(std::u16string_view keyPath, std::size_t bufferBytes, std::u16string& text,
                      std::size_t& reportedBytes) override {
        queries.emplace_back(keyPath, bufferBytes);
        auto it = appData.find(keyPath);
        if (it == appData.end())
            return false;
        reportedBytes = it->second.size();
        return !notStrings.contains(keyPath) && DecodeStringValue(it->second, bufferBytes, text);
    }
};

std::vector<std::uint8_t> Bytes(std::u16string_view text) {
    return MemorySettingsStore::StringValue(text).bytes;
}

TEST(UserDataFolder, AppDataComesFromTheFirstKeyThatHasItTrimmed) {
    const std::u16string nt(kShellFoldersNtKey), plain(kShellFoldersKey);
    const std::u16string longPath(450, u'p'); // 902 bytes with the zero
    const struct {
        const char* what;
        std::map<std::u16string, std::vector<std::uint8_t>, std::less<>> keys;
        std::u16string expected;
        std::vector<std::pair<std::u16string, std::size_t>> queries;
    } cases[] = {
        {"first key",
         {{nt, Bytes(u" \tC:\\Users\\a\\AppData \r\n")}, {plain, Bytes(u"X")}},
         u"C:\\Users\\a\\AppData",
         {{nt, 768}}},
        {"second key",
         {{plain, Bytes(u"C:\\Roaming ")}},
         u"C:\\Roaming",
         {{nt, 768}, {plain, 768}}},
        {"neither", {}, u"", {{nt, 768}, {plain, 768}}},
        {"too long for the first query",
         {{nt, Bytes(longPath)}, {plain, Bytes(longPath)}},
         longPath,
         {{nt, 768}, {plain, 902}}},
        {"an empty first value is the result",
         {{nt, Bytes(u"")}, {plain, Bytes(u"C:\\A")}},
         u"",
         {{nt, 768}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeShellFolders shellFolders;
        shellFolders.appData = c.keys;
        EXPECT_EQ(GetAppDataFolder(shellFolders), c.expected);
        EXPECT_EQ(shellFolders.queries, c.queries);
    }
}

TEST(UserDataFolder, ASmallReportedSizeStillGetsAFullSecondBuffer) {
    // The first key holds "AppData" as a DWORD: the query reports 4 bytes and fails on the type.
    FakeShellFolders shellFolders;
    shellFolders.appData[std::u16string(kShellFoldersNtKey)] = {1, 0, 0, 0};
    shellFolders.notStrings.insert(std::u16string(kShellFoldersNtKey));
    shellFolders.appData[std::u16string(kShellFoldersKey)] = Bytes(u"C:\\B");
    EXPECT_EQ(GetAppDataFolder(shellFolders), u"C:\\B");
    ASSERT_EQ(shellFolders.queries.size(), 2u);
    EXPECT_EQ(shellFolders.queries[1].second, 768u);
}

class FakeFileSystem : public FileSystemPort {
public:
    std::set<std::u16string> existing;
    std::set<std::u16string> refused;
    std::vector<std::u16string> created;

    bool DirectoryExists(const std::u16string& path) override { return existing.count(path); }
    bool MakeDirectory(const std::u16string& path) override {
        created.push_back(path);
        if (refused.count(path))
            return false;
        existing.insert(path);
        return true;
    }
};

TEST(UserDataFolder, EnsureCreatesEachMissingLevel) {
    const std::u16string app = u"C:\\AppData";
    const std::u16string vantorel = app + u"\\Vantorel", glyphwell = vantorel + u"\\Glyphwell";
    const struct {
        const char* what;
        std::set<std::u16string> existing, refused;
        std::vector<std::u16string> created;
    } cases[] = {
        {"none", {}, {}, {vantorel, glyphwell}},
        {"outer exists", {vantorel}, {}, {glyphwell}},
        {"both exist", {vantorel, glyphwell}, {}, {}},
        {"outer refused, inner still tried", {}, {vantorel}, {vantorel, glyphwell}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeFileSystem fs;
        fs.existing = c.existing;
        fs.refused = c.refused;
        EXPECT_EQ(EnsureUserDataFolder(app, fs), glyphwell);
        EXPECT_EQ(fs.created, c.created);
    }
    FakeFileSystem fs;
    EXPECT_EQ(EnsureUserDataFolder(u"", fs), u"\\Vantorel\\Glyphwell");
    EXPECT_EQ(UserDataFolderPath(app), glyphwell);
}

} // namespace
} // namespace gw
