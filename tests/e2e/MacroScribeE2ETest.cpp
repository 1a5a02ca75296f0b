// Macro Scribe in the real keyboard program: opened from the keyboard's menu, a double click
// on a listed macro types it into another program and Macro Scribe comes back when the echo is
// complete; a tap on the editing key after a word without a macro opens New Macro for it, and
// the saved macro is then recalled in the other program.
#include "macros/MacroFile.h"
#include "tests/e2e/E2ESupport.h"
#include "tests/e2e/TypingTarget.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using e2e::kFrameClass;
using e2e::kTrayExit;
using e2e::kViewClass;

constexpr WPARAM kMacroScribeCommand = 32817;
constexpr int kMacroList = 1015;
constexpr int kNewMacroKey = 1017;
constexpr int kNewMacroContent = 1018;
constexpr int kNewMacroOk = 1020;

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

gw::MacroMap ReadFile(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;)
            bytes.push_back(static_cast<std::uint8_t>(c));
        std::fclose(file);
    }
    gw::MacroMap macros;
    gw::ReadMacroFile(bytes, macros, [](std::string_view) { return std::u16string(); });
    return macros;
}

// A dialog of the process, by its exact title, once it is visible.
HWND WaitForDialog(const e2e::Process& process, const std::wstring& title) {
    HWND found = nullptr;
    e2e::WaitUntil(
        [&] {
            found = ::FindWindowW(L"#32770", title.c_str());
            DWORD owner = 0;
            if (found)
                ::GetWindowThreadProcessId(found, &owner);
            return found && owner == process.Id() && ::IsWindowVisible(found);
        },
        10000);
    return found;
}

class MacroScribeE2E : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::ResetSettings();
        macroFile = TempPath(L"gw-e2e-macros.msb");
        ASSERT_TRUE(e2e::WriteFileBytes(
            macroFile,
            gw::WriteMacroFile({{u"addr", u"line1\rline2\tend"}, {u"btw", u"by the way"}})));
        ASSERT_TRUE(e2e::WriteStringSetting(L"CurrentMacroFilename", macroFile));
        target = std::make_unique<e2e::TypingTarget>(L"", L"GWTypingTarget", L"EDIT");
        ASSERT_NE(target->edit, nullptr);
        keyboard = std::make_unique<e2e::Process>(e2e::FullPath(L"Glyphwell\\Glyphwell.exe"),
                                                  e2e::FullPath(L"Glyphwell"));
        frame = keyboard->WaitForWindow(kFrameClass, 10000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (view = ::FindWindowExW(frame, nullptr, kViewClass, nullptr)); }, 5000));
        ::Sleep(300);
        ASSERT_TRUE(target->ClickInto(frame));
    }
    void TearDown() override {
        if (keyboard && frame && ::IsWindow(frame)) {
            ::PostMessageW(frame, WM_COMMAND, kTrayExit, 0);
            EXPECT_TRUE(keyboard->WaitForExit(10000));
        }
        ::DeleteFileW(macroFile.c_str());
    }

    // Answers the keyboard's question box with the button; its text.
    std::wstring Answer(int button) {
        HWND box = WaitForDialog(*keyboard, L"Glyphwell");
        if (!box)
            return L"(no question)";
        const std::wstring text = e2e::EditText(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(box, WM_COMMAND, button, 0);
        return text;
    }

    std::wstring macroFile;
    std::unique_ptr<e2e::TypingTarget> target;
    std::unique_ptr<e2e::Process> keyboard;
    HWND frame = nullptr;
    HWND view = nullptr;
};

TEST_F(MacroScribeE2E, ADoubleClickedMacroIsTypedIntoTheOtherProgram) {
    ::PostMessageW(frame, WM_COMMAND, kMacroScribeCommand, 0);
    HWND scribe = WaitForDialog(*keyboard, L"Macro Scribe - " + macroFile);
    ASSERT_NE(scribe, nullptr);
    HWND list = ::GetDlgItem(scribe, kMacroList);
    HWND header = ::FindWindowExW(list, nullptr, L"SysHeader32", nullptr);
    RECT listRect{};
    RECT headerRect{};
    ::GetWindowRect(list, &listRect);
    ::GetWindowRect(header, &headerRect);

    // The first macro, addr, by a real double click on its content.
    const POINT content{listRect.left + 150, headerRect.bottom + 6};
    e2e::Mouse::MoveTo(content);
    for (int click = 0; click < 2; ++click) {
        wintest::SendMouse(content, MOUSEEVENTF_LEFTDOWN);
        wintest::SendMouse(content, MOUSEEVENTF_LEFTUP);
    }
    EXPECT_TRUE(target->WaitForText(L"line1\rline2\tend"));
    // When the echo is complete, Macro Scribe is back in front and usable.
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return ::GetForegroundWindow() == scribe && ::IsWindowEnabled(scribe); }, 5000));

    ::PostMessageW(scribe, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(scribe); }, 5000)) << "nothing changed";
}

TEST_F(MacroScribeE2E, TheEditingKeyAfterAnUnknownWordMakesItsMacro) {
    wintest::TypeKeys("XYZ");
    ASSERT_TRUE(target->WaitForText(L"xyz"));
    const e2e::KeyboardOnScreen keys(view, e2e::NormalGeometry(true));
    keys.Tap(gw::kEditingArea);

    HWND added = WaitForDialog(*keyboard, L"New Macro");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(e2e::EditText(::GetDlgItem(added, kNewMacroKey)), L"xyz");
    ::SetDlgItemTextW(added, kNewMacroContent, L"x, y and z");
    ::PostMessageW(added, WM_COMMAND, MAKEWPARAM(kNewMacroOk, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(added, kNewMacroOk)));
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(added); }, 5000));
    HWND scribe = WaitForDialog(*keyboard, L"Macro Scribe - " + macroFile);
    ASSERT_NE(scribe, nullptr);
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowEnabled(scribe) != FALSE; }, 5000));
    ::PostMessageW(scribe, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Answer(IDYES),
              L"You have made changes to your macros.\nDo you want to save these changes?");
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(scribe); }, 5000));
    EXPECT_EQ(ReadFile(macroFile).at(u"xyz"), u"x, y and z");

    // The saved macro is recalled at once in the other program.
    ASSERT_TRUE(target->ClickInto(frame));
    wintest::TypeKeys(" XYZ");
    ASSERT_TRUE(target->WaitForText(L"xyz xyz"));
    keys.Tap(gw::kEditingArea);
    EXPECT_TRUE(target->WaitForText(L"xyz x, y and z"));
}

} // namespace
