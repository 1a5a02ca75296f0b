// The macro store's file on a real file system: the default file in the user's data folder,
// the first save creating its folders, a chosen file, the ANSI form of older files read through
// the system code page, and a save that fails leaving the old file whole and saying so.
#include "framework/win/WideString.h"
#include "macros/win/MacroStore.h"
#include "tests/win/RedirectedHive.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

class NoApplication : public gw::MacroStorePort {
public:
    void OnMacroMatchChanged() override {}
    void OpenMacroScribe(std::uint8_t, const std::u16string&) override {}
};

std::vector<std::uint8_t> FileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A data folder of its own, named as the user's application data folder.
class MacroFileStore : public RedirectedHive {
protected:
    void SetUp() override {
        RedirectedHive::SetUp();
        wchar_t temp[MAX_PATH];
        ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
        appData = std::wstring(temp) + L"gw-macros-" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryW(appData.c_str(), nullptr));
        PlantAppData(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     REG_SZ, appData);
    }
    void TearDown() override {
        for (const wchar_t* file : {L"\\Vantorel\\Glyphwell\\macros.dat", L"\\chosen.msb"}) {
            ::SetFileAttributesW((appData + file).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW((appData + file).c_str());
        }
        ::RemoveDirectoryW((appData + L"\\Vantorel\\Glyphwell").c_str());
        ::RemoveDirectoryW((appData + L"\\Vantorel").c_str());
        ::RemoveDirectoryW(appData.c_str());
        RedirectedHive::TearDown();
    }

    std::wstring appData;
    gw::MacroSettings settings;
    NoApplication application;
    CMacroStore store{application, settings};
};

TEST_F(MacroFileStore, TheFirstSaveCreatesTheDefaultFileAndItsFolders) {
    const std::wstring file = appData + L"\\Vantorel\\Glyphwell\\macros.dat";
    EXPECT_EQ(store.CurrentMacroFile(), file);
    store.LoadMacros(); // nothing there yet: empty, no message
    EXPECT_TRUE(store.Macros().empty());

    store.ReplaceMacros({{u"abc", u"Hi"}});
    ASSERT_TRUE(store.SaveMacros(nullptr));
    EXPECT_EQ(FileBytes(file), gw::WriteMacroFile({{u"abc", u"Hi"}}));
    EXPECT_EQ(::GetFileAttributesW((file + L".saving").c_str()), INVALID_FILE_ATTRIBUTES);

    NoApplication other;
    CMacroStore next(other, settings);
    next.LoadMacros();
    EXPECT_EQ(next.Macros(), (gw::MacroMap{{u"abc", u"Hi"}}));
}

TEST_F(MacroFileStore, AChosenFileIsReadAndOlderFilesThroughTheCodePage) {
    settings.currentMacroFilename = FromWide(appData + L"\\chosen.msb");
    // The ANSI form: no marker, one byte a character (0xE9 is e acute in the code page).
    WriteBytes(appData + L"\\chosen.msb", {1, 0, 0, 0, 3, 'c', 'a', 'f', 2, 0xE9, '!'});
    store.ReplaceMacros({{u"kept", u"as it was"}});
    store.LoadMacros();
    EXPECT_EQ(store.Macros(), (gw::MacroMap{{u"caf", u"\u00E9!"}, {u"kept", u"as it was"}}));
    EXPECT_EQ(::GetACP(), 1252u) << "the expectation above is for the Western code page";
}

TEST_F(MacroFileStore, AFailedSaveKeepsTheOldFileWholeAndSaysSo) {
    const std::wstring file = appData + L"\\chosen.msb";
    settings.currentMacroFilename = FromWide(file);
    const std::vector<std::uint8_t> old = gw::WriteMacroFile({{u"old", u"file"}});
    WriteBytes(file, old);
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));

    store.ReplaceMacros({{u"new", u"content"}});
    wintest::MessageBoxSeen seen;
    bool shown = false;
    std::thread taker([&] { shown = wintest::TakeMessageBox(::GetCurrentProcessId(), seen); });
    EXPECT_FALSE(store.SaveMacros(nullptr));
    taker.join();
    ASSERT_TRUE(shown) << "no message";
    EXPECT_EQ(seen.caption, L"Macro Scribe");
    EXPECT_NE(seen.text.find(file), std::wstring::npos) << "names the file";
    EXPECT_EQ(FileBytes(file), old);
    EXPECT_EQ(::GetFileAttributesW((file + L".saving").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
