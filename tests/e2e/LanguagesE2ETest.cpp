// Languages as a user meets them: the keyboard started with each language we ship types that
// language's characters into another program, the languages of a Languages folder are offered
// in order, and a broken language file is reported and replaced by English.
#include "tests/e2e/E2ESupport.h"
#include "tests/win/Screenshots.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using e2e::kFrameClass;
using e2e::kTrayExit;
using e2e::kViewClass;
constexpr WPARAM kLanguageEnglish = 32830;

bool WriteLanguageSetting(const std::wstring& language) {
    return e2e::WriteStringSetting(L"Language", language);
}

std::wstring ReadLanguageSetting() {
    return e2e::ReadStringSetting(L"Language");
}

void WriteUtf8File(const std::wstring& path, const std::string& text) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

// A language file that puts a character on the tap of key 5 (the letter o in English).
std::string TapOnKey5(const std::string& character) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Keyboard><LetterSide><Row2><Col2>"
           "<Center><Tap>" +
           character + "</Tap></Center></Col2></Row2></LetterSide></Keyboard>\n";
}

using wintest::MessageBoxSeen;
using wintest::TakeMessageBox;

class LanguagesE2E : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::ResetSettings();
        target = std::make_unique<e2e::Process>(e2e::FullPath(L"GWTypingTarget.exe"),
                                                e2e::FullPath(L"."));
        targetWindow = target->WaitForWindow(L"GWTypingTarget", 15000);
        ASSERT_NE(targetWindow, nullptr);
        edit = ::FindWindowExW(targetWindow, nullptr, L"EDIT", nullptr);
        ASSERT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == targetWindow; }, 5000));
    }
    void TearDown() override {
        if (keyboard && frame && ::IsWindow(frame)) {
            ::PostMessageW(frame, WM_COMMAND, kTrayExit, 0);
            EXPECT_TRUE(keyboard->WaitForExit(10000));
        }
    }

    // Starts the keyboard in a working folder (by default its install folder); before its
    // window is up, handles the message boxes it shows.
    void StartKeyboard(const std::wstring& folder = e2e::FullPath(L"Glyphwell")) {
        keyboard =
            std::make_unique<e2e::Process>(e2e::FullPath(L"Glyphwell\\Glyphwell.exe"), folder);
        frame = keyboard->WaitForWindow(kFrameClass, 10000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (view = ::FindWindowExW(frame, nullptr, kViewClass, nullptr)); }, 5000));
        ::Sleep(500); // the language loads and the pictures are drawn
    }
    void Command(WPARAM command) const {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(frame, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, 10000, &result);
    }
    std::wstring Typed() const { return e2e::EditText(edit); }
    bool WaitForTyped(const std::wstring& expected) const {
        return e2e::WaitUntil([&] { return Typed() == expected; }, 5000);
    }
    void ClearTyped() const { ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"")); }
    e2e::KeyboardOnScreen Keys() const {
        return e2e::KeyboardOnScreen(view, e2e::NormalGeometry(true));
    }

    // Ends the keyboard from its tray menu; the language it saved.
    void ExitAndCheckLanguage(const std::wstring& expected) {
        ::PostMessageW(frame, WM_COMMAND, kTrayExit, 0);
        ASSERT_TRUE(keyboard->WaitForExit(10000));
        frame = nullptr;
        EXPECT_EQ(ReadLanguageSetting(), expected);
    }

    // A working folder of the test's own with a Languages folder (the same on every run).
    static std::wstring MakeWorkingFolder(const std::wstring& name) {
        const std::wstring folder = e2e::FullPath(name.c_str());
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ::CreateDirectoryW((folder + L"\\Languages").c_str(), nullptr);
        return folder;
    }
    static void AddLanguage(const std::wstring& folder, const std::wstring& language,
                            const std::string& xml) {
        const std::wstring path = folder + L"\\Languages\\" + language;
        ::CreateDirectoryW(path.c_str(), nullptr);
        WriteUtf8File(path + L"\\Keyboard.xml", xml);
    }

    std::unique_ptr<e2e::Process> target;
    std::unique_ptr<e2e::Process> keyboard;
    HWND targetWindow = nullptr;
    HWND edit = nullptr;
    HWND frame = nullptr;
    HWND view = nullptr;
};

struct ShippedLanguage {
    const wchar_t* name;
    const char* tag; // of the screenshot's file name
    std::function<void(const e2e::KeyboardOnScreen&)> strokes;
    const wchar_t* typed;
};

TEST_F(LanguagesE2E, EachShippedLanguageTypesItsOwnCharacters) {
    using gw::kLetterGrid;
    const ShippedLanguage languages[] = {
        {L"Deutsch", "de",
         [](const e2e::KeyboardOnScreen& keys) {
             keys.Tap(kLetterGrid, 5);           // d
             keys.Drag(kLetterGrid, 1, gw::kNE); // ä
             keys.Drag(kLetterGrid, 9, gw::kSW); // ß
             keys.Tap(kLetterGrid, 1);           // a, and the diaeresis combines with it
             keys.Drag(kLetterGrid, 7, gw::kN);
         },
         L"d\u00E4\u00DF\u00E4"},
        {L"Fran\u00E7ais", "fr",
         [](const e2e::KeyboardOnScreen& keys) {
             keys.Tap(kLetterGrid, 4);          // u
             keys.Drag(kLetterGrid, 8, gw::kW); // é
             keys.Tap(kLetterGrid, 3);          // i, and the circumflex combines with it
             keys.Drag(kLetterGrid, 2, gw::kN);
         },
         L"u\u00E9\u00EE"},
        {L"Espa\u00F1ol", "es",
         [](const e2e::KeyboardOnScreen& keys) {
             keys.Tap(kLetterGrid, 7);                // d
             keys.Drag(kLetterGrid, 2, gw::kNW);      // ñ
             keys.Drag(kLetterGrid, 5, gw::kSE);      // ó
             keys.DragReturn(kLetterGrid, 3, gw::kW); // ¿
         },
         L"d\u00F1\u00F3\u00BF"},
        {L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC", "el",
         [](const e2e::KeyboardOnScreen& keys) {
             keys.Tap(kLetterGrid, 1);           // α
             keys.Drag(kLetterGrid, 8, gw::kN);  // ς
             keys.Drag(kLetterGrid, 2, gw::kNE); // the tonos combines with the next letter
             keys.Tap(kLetterGrid, 8);           // έ
         },
         L"\u03B1\u03C2\u03AD"},
        {L"\u0420\u0443\u0441\u0441\u043A\u0438\u0439", "ru",
         [](const e2e::KeyboardOnScreen& keys) {
             keys.Tap(kLetterGrid, 4);           // в
             keys.Drag(kLetterGrid, 1, gw::kNE); // я
             keys.Tap(kLetterGrid, 8);           // е, and the diaeresis combines with it: ё
             keys.Drag(kLetterGrid, 7, gw::kN);
         },
         L"\u0432\u044F\u0451"},
    };
    for (const ShippedLanguage& language : languages) {
        SCOPED_TRACE(language.tag);
        ClearTyped();
        ASSERT_TRUE(WriteLanguageSetting(language.name));
        StartKeyboard();
        language.strokes(Keys());
        EXPECT_TRUE(WaitForTyped(language.typed)) << "typed " << Typed().size();
        EXPECT_TRUE(wintest::WriteBmp(wintest::FromScreen(view),
                                      std::string("language-") + language.tag + ".bmp"));
        ExitAndCheckLanguage(language.name);
    }
}

TEST_F(LanguagesE2E, TheInstalledLanguagesAreOfferedInOrderAfterEnglish) {
    const std::wstring folder = MakeWorkingFolder(L"e2e-languages-menu");
    AddLanguage(folder, L"Zulu", TapOnKey5("z"));
    AddLanguage(folder, L"Fran\u00E7ais", TapOnKey5("f"));
    AddLanguage(folder, L"deutsch", TapOnKey5("d"));
    WriteUtf8File(folder + L"\\Languages\\notes.txt", "a plain file is no language");
    StartKeyboard(folder);

    // The commands after English's choose the folders in the order deutsch, Français, Zulu.
    const e2e::KeyboardOnScreen keys = Keys();
    for (WPARAM command : {32831, 32832, 32833, static_cast<int>(kLanguageEnglish)}) {
        Command(command);
        keys.Tap(gw::kLetterGrid, 5);
    }
    EXPECT_TRUE(WaitForTyped(L"dfzo")) << "typed " << Typed().size();
    ExitAndCheckLanguage(L"English");
}

TEST_F(LanguagesE2E, ABrokenLanguageIsReportedTwiceAndEnglishIsUsed) {
    const std::wstring folder = MakeWorkingFolder(L"e2e-languages-broken");
    AddLanguage(folder, L"Broken",
                "<?xml version=\"1.0\"?>\n<Keyboard>\n<LetterSide><Row1><Col1><E>"
                "<Drag>ab</Drag></E></Col1></Row1></LetterSide></Keyboard>\n");
    ASSERT_TRUE(WriteLanguageSetting(L"Broken"));
    keyboard = std::make_unique<e2e::Process>(e2e::FullPath(L"Glyphwell\\Glyphwell.exe"), folder);

    MessageBoxSeen first, second;
    ASSERT_TRUE(TakeMessageBox(keyboard->Id(), first));
    EXPECT_EQ(first.caption, L"Error");
    EXPECT_EQ(first.text, L"Error reading data: Data too long\nLine 3 following <Drag>\n\tab");
    ASSERT_TRUE(TakeMessageBox(keyboard->Id(), second));
    EXPECT_EQ(second.caption, L"Error");
    EXPECT_EQ(second.text,
              L"Error reading Keyboard.xml file\n\nLine 3: Following <Drag>\n\nTherefore, since "
              L"the keyboard file could not be read correctly,\nthe language will be set back to "
              L"the default, English.");

    frame = keyboard->WaitForWindow(kFrameClass, 10000);
    ASSERT_NE(frame, nullptr);
    view = ::FindWindowExW(frame, nullptr, kViewClass, nullptr);
    // The messages took the foreground; the user goes back to the program being typed into.
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            ::SetForegroundWindow(targetWindow);
            return ::GetForegroundWindow() == targetWindow;
        },
        5000));
    Keys().Tap(gw::kLetterGrid, 5);
    EXPECT_TRUE(WaitForTyped(L"o"));
    ExitAndCheckLanguage(L"English");
}

} // namespace
