// The settings in the real registry: the keys a save creates, the types and bytes of every
// value read back with the registry API, wrong-typed values, the string limit, and the data
// folder. The prefix is shared by all test programs, so every test leaves the keys as it found
// them (HKCU\SOFTWARE\Vantorel\Glyphwell is removed before and after).
#include "framework/win/WideString.h"
#include "shell/win/RegistrySettings.h"
#include "tests/win/RedirectedHive.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kSettingsPath = L"SOFTWARE\\Vantorel\\Glyphwell";

bool KeyExists(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// Every value of a key, as the registry holds it.
std::map<std::wstring, RawValue> AllValues(HKEY root, const wchar_t* path) {
    std::map<std::wstring, RawValue> values;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    UniqueRegistryKey owner(key);
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        RawValue value;
        value.bytes.resize(4096);
        DWORD size = static_cast<DWORD>(value.bytes.size());
        if (::RegEnumValueW(key, i, name, &nameLength, nullptr, &value.type, value.bytes.data(),
                            &size) != ERROR_SUCCESS)
            break;
        value.bytes.resize(size);
        values[std::wstring(name, nameLength)] = value;
    }
    return values;
}

std::vector<BYTE> DwordBytes(DWORD v) {
    return {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
}

// The number of open handles from the lowest free handle value on. Registry keys are kernel
// handles, and a free value is taken before any higher one, so a key left open shows up here
// (Wine counts no registry handles in GetProcessHandleCount).
HANDLE LowestFreeHandle() {
    HKEY key = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE", 0, KEY_READ, &key);
    ::RegCloseKey(key);
    return key;
}

int OpenHandlesFrom(HANDLE first) {
    int open = 0;
    for (std::uintptr_t h = reinterpret_cast<std::uintptr_t>(first), n = 0; n < 1024; ++n, h += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags))
            ++open;
    }
    return open;
}

class SettingsRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        vantorelExisted_ = KeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Vantorel");
        Clean();
    }
    void TearDown() override { Clean(); }

    void Clean() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsPath);
        if (!vantorelExisted_)
            ::RegDeleteKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\Vantorel"); // fails if not empty
    }

    // Writes a raw value into the settings key, creating it.
    void Plant(const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        UniqueRegistryKey owner(key);
        ASSERT_EQ(::RegSetValueExW(key, name, 0, type, bytes.empty() ? nullptr : bytes.data(),
                                   static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS)
            << name;
    }

    RegistrySettingsStore store_;

private:
    bool vantorelExisted_ = false;
};

TEST_F(SettingsRegistry, SaveIntoAnEmptyHiveCreatesTheKeysAndWritesEveryValue) {
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsPath));
    gw::AppSettings app;
    gw::EngineSettings engine;
    gw::MacroSettings macros;
    app.followCaret = true;
    app.vertDistToClosestEdge = -5;
    app.circleAreaRatio = 0.12345;
    app.customColors[15] = 0x00102030;
    app.language = u"Fran\u00E7ais";
    engine.drawTrace = false;
    engine.minDrag = 45;
    macros.hotKeyVk = 0x41;
    macros.hotKeyModifiers = 3;
    gw::SaveSettings(store_, app, engine, macros);
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsPath));

    std::map<std::wstring, RawValue> expected;
    auto dword = [&](const wchar_t* name, DWORD v) { expected[name] = {REG_DWORD, DwordBytes(v)}; };
    dword(L"DrawTrace", 0);
    dword(L"MinimizeTime", 10);
    dword(L"DontMinimize", 0);
    dword(L"MinDrag", 45);
    dword(L"MaxDrag", 200);
    dword(L"MaxDragMacros", 0);
    dword(L"KeyboardState", 0);
    dword(L"CurrentVersion", 411);
    dword(L"KeyboardSize", 3);
    dword(L"BusyKeyboard", 0);
    dword(L"Transparency", 0);
    dword(L"ShiftCtrlAltDragAction", 0);
    dword(L"MinimizeToTray", 1);
    dword(L"StartMinimized", 0);
    dword(L"CircleAreaRatio", 1234);
    dword(L"TraceColor", 0xFFFFFF);
    dword(L"FollowCaret", 1);
    dword(L"VertDistToClosestEdge", 0xFFFFFFFB);
    dword(L"HorizDistToClosestEdge", 0);
    dword(L"ClosestCorner", 0);
    for (int i = 0; i < 16; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"TraceColorDlgCustomColor%02d", i);
        dword(name, i == 15 ? 0x00102030 : 0xFFFFFF);
    }
    expected[L"Language"] = {REG_SZ, StringBytes(L"Fran\u00E7ais")};
    dword(L"MacroHotKey", 0x00030041);
    dword(L"MacroDlgX", 0);
    dword(L"MacroDlgY", 0);
    dword(L"MacroEditDlgX", 0);
    dword(L"MacroEditDlgY", 0);
    expected[L"CurrentMacroFilename"] = {REG_SZ, StringBytes(L"")};
    ASSERT_EQ(expected.size(), 43u);

    const auto stored = AllValues(HKEY_CURRENT_USER, kSettingsPath);
    EXPECT_EQ(stored.size(), expected.size());
    for (const auto& [name, value] : expected) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        auto it = stored.find(name);
        ASSERT_NE(it, stored.end());
        EXPECT_EQ(it->second.type, value.type);
        EXPECT_EQ(it->second.bytes, value.bytes);
    }

    // And the same values come back through the store.
    gw::AppSettings loadedApp;
    gw::EngineSettings loadedEngine;
    gw::MacroSettings loadedMacros;
    gw::LoadSettings(store_, loadedApp, loadedEngine, loadedMacros);
    app.followCaret = false;
    app.circleAreaRatio = gw::CircleAreaRatioFromStored(1234);
    EXPECT_EQ(loadedApp, app);
    EXPECT_EQ(loadedEngine, engine);
    EXPECT_EQ(loadedMacros, macros);
}

TEST_F(SettingsRegistry, ValuesOfTheWrongTypeLoadAsDefaults) {
    const std::vector<BYTE> four = DwordBytes(1);
    Plant(L"DrawTrace", REG_BINARY, DwordBytes(0));
    Plant(L"MinimizeTime", REG_SZ, StringBytes(L"5"));
    Plant(L"MinDrag", REG_DWORD_BIG_ENDIAN, DwordBytes(40));
    Plant(L"MaxDrag", REG_QWORD, {1, 1, 0, 0, 0, 0, 0, 0});
    Plant(L"KeyboardSize", REG_DWORD, {5, 0}); // a DWORD of two bytes
    Plant(L"MinimizeToTray", REG_BINARY, DwordBytes(0));
    Plant(L"CircleAreaRatio", REG_EXPAND_SZ, StringBytes(L"1500"));
    Plant(L"VertDistToClosestEdge", REG_MULTI_SZ, StringBytes(L"x"));
    Plant(L"TraceColorDlgCustomColor03", REG_NONE, DwordBytes(0x123456));
    Plant(L"Language", REG_DWORD, DwordBytes(7));
    Plant(L"CurrentMacroFilename", REG_EXPAND_SZ, StringBytes(L"C:\\m.msb"));
    Plant(L"MacroHotKey", REG_SZ, StringBytes(L"A"));

    gw::AppSettings app;
    gw::EngineSettings engine;
    gw::MacroSettings macros;
    gw::LoadSettings(store_, app, engine, macros);
    EXPECT_EQ(app, gw::AppSettings{});
    EXPECT_EQ(engine, gw::EngineSettings{});
    EXPECT_EQ(macros, gw::MacroSettings{});
}

TEST_F(SettingsRegistry, StringsMustFitTheBufferWithTheirTerminator) {
    const struct {
        const char* what;
        std::vector<BYTE> bytes;
        std::u16string expected;
    } cases[] = {
        {"126 characters", StringBytes(std::wstring(126, L'a')), std::u16string(126, u'a')},
        {"127 characters", StringBytes(std::wstring(127, L'a')), u"English"},
        {"unterminated 126", StringBytes(std::wstring(126, L'a'), false),
         std::u16string(126, u'a')},
        {"unterminated 127", StringBytes(std::wstring(127, L'a'), false), u"English"},
        {"embedded zero", StringBytes(std::wstring(L"ab\0cd", 5)), u"ab"},
        {"no bytes", {}, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Plant(L"Language", REG_SZ, c.bytes);
        gw::AppSettings app;
        gw::EngineSettings engine;
        gw::MacroSettings macros;
        gw::LoadSettings(store_, app, engine, macros);
        EXPECT_EQ(app.language, c.expected);
    }
}

TEST_F(SettingsRegistry, AccessFunctionsLeaveNoKeyOpen) {
    ASSERT_TRUE(WriteDwordValue(L"MinDrag", 33));
    ASSERT_TRUE(WriteStringValue(L"Language", u"English"));
    const HANDLE first = LowestFreeHandle();
    const int openBefore = OpenHandlesFrom(first);
    for (int i = 0; i < 50; ++i) {
        DWORD value = 0;
        std::u16string text;
        EXPECT_TRUE(ReadDwordValue(L"MinDrag", value));
        EXPECT_FALSE(ReadDwordValue(L"Absent", value));
        EXPECT_TRUE(ReadStringValue(L"Language", text, 255));
        EXPECT_FALSE(ReadStringValue(L"MinDrag", text, 255));
        EXPECT_TRUE(WriteDwordValue(L"MinDrag", 33));
        EXPECT_TRUE(WriteStringValue(L"Language", u"English"));
    }
    EXPECT_EQ(OpenHandlesFrom(first), openBefore) << "a key handle was left open";

    HKEY key = nullptr;
    ASSERT_TRUE(OpenSettingsKey(key));
    UniqueRegistryKey owner(key);
    DWORD value = 0, type = 0, size = sizeof(value);
    ASSERT_EQ(
        ::RegQueryValueExW(key, L"MinDrag", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(value, 33u);
}

TEST_F(RedirectedHive, WithoutSoftwareNothingIsReadOrCreated) {
    HKEY key = nullptr;
    EXPECT_FALSE(OpenSettingsKey(key));
    EXPECT_FALSE(WriteDwordValue(L"MinDrag", 40));
    DWORD value = 0;
    EXPECT_FALSE(ReadDwordValue(L"MinDrag", value));
    EXPECT_FALSE(KeyExists(root_, L"SOFTWARE"));

    // Once "SOFTWARE" exists, the two keys below it are created by the first write.
    HKEY software = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(root_, L"SOFTWARE", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &software, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(software);
    EXPECT_TRUE(WriteDwordValue(L"MinDrag", 40));
    EXPECT_TRUE(KeyExists(root_, kSettingsPath));
    EXPECT_TRUE(ReadDwordValue(L"MinDrag", value));
    EXPECT_EQ(value, 40u);
}

TEST_F(RedirectedHive, AppDataComesFromTheShellFoldersKeys) {
    const std::wstring nt(ToWide(gw::kShellFoldersNtKey)), plain(ToWide(gw::kShellFoldersKey));
    EXPECT_EQ(GetAppDataFolder(), u"");
    PlantAppData(plain.c_str(), REG_SZ, L"  C:\\Plain\\AppData\t");
    EXPECT_EQ(GetAppDataFolder(), u"C:\\Plain\\AppData");
    PlantAppData(nt.c_str(), REG_SZ, L"C:\\NT");
    EXPECT_EQ(GetAppDataFolder(), u"C:\\NT");
    // Too long for the first query's 768 bytes, so the second key is asked with the size the
    // first one reported.
    PlantAppData(nt.c_str(), REG_SZ, std::wstring(500, L'n'));
    EXPECT_EQ(GetAppDataFolder(), u"C:\\Plain\\AppData");
    PlantAppData(plain.c_str(), REG_SZ, std::wstring(450, L'p'));
    EXPECT_EQ(GetAppDataFolder(), std::u16string(450, u'p'));
}

std::wstring CurrentDirectory() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
    return std::wstring(buffer, length);
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(UserDataFolder, EnsureCreatesBothLevelsAndKeepsTheWorkingDirectory) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring base =
        std::wstring(temp) + L"gw-appdata-" + std::to_wstring(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryW(base.c_str(), nullptr));
    const std::wstring cwd = CurrentDirectory();

    WinFileSystem fileSystem;
    const std::u16string folder = gw::EnsureUserDataFolder(FromWide(base), fileSystem);
    EXPECT_EQ(folder, FromWide(base + L"\\Vantorel\\Glyphwell"));
    EXPECT_TRUE(IsDirectory(base + L"\\Vantorel\\Glyphwell"));
    EXPECT_EQ(gw::EnsureUserDataFolder(FromWide(base), fileSystem), folder); // already there
    EXPECT_EQ(CurrentDirectory(), cwd);

    ::RemoveDirectoryW((base + L"\\Vantorel\\Glyphwell").c_str());
    ::RemoveDirectoryW((base + L"\\Vantorel").c_str());
    ::RemoveDirectoryW(base.c_str());
}

TEST(UserDataFolder, TheRealFolderLiesInTheUsersApplicationData) {
    wchar_t shellPath[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, shellPath), S_OK);
    const std::u16string appData = GetAppDataFolder();
    EXPECT_EQ(appData, FromWide(shellPath));

    const std::wstring vantorel = ToWide(appData) + L"\\Vantorel";
    const std::wstring glyphwell = vantorel + L"\\Glyphwell";
    const bool vantorelExisted = IsDirectory(vantorel);
    const bool glyphwellExisted = IsDirectory(glyphwell);
    const std::wstring cwd = CurrentDirectory();
    EXPECT_EQ(EnsureUserDataFolder(), FromWide(glyphwell));
    EXPECT_TRUE(IsDirectory(glyphwell));
    EXPECT_EQ(CurrentDirectory(), cwd);
    if (!glyphwellExisted)
        ::RemoveDirectoryW(glyphwell.c_str());
    if (!vantorelExisted)
        ::RemoveDirectoryW(vantorel.c_str());
}

} // namespace
