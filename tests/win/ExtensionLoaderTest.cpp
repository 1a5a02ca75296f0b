// The extension loader with extension libraries built apart from the program (see
// tests/win/extension/): the order of its calls at start, on the user's toggle and at the end,
// the slots that stay unused, and every operation of the engine interface called from such a
// library against a real engine and keyboard view.
#include "extensions/win/ExtensionLoader.h"

#include "resources/resource.h"
#include "tests/win/ViewHostWindow.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using wintest::PumpFor;

constexpr wchar_t kCallsVariable[] = L"GW_EXTENSION_CALLS";

// The folder of the variants of one test: test-extensions\<name> beside the test program.
std::wstring VariantFolder(const wchar_t* name) {
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"test-extensions\\" + name;
}

std::wstring TakeCalls() {
    wchar_t calls[4096] = {};
    ::GetEnvironmentVariableW(kCallsVariable, calls, 4096);
    ::SetEnvironmentVariableW(kCallsVariable, nullptr);
    return calls;
}

class ExtensionLoaderTest : public ::testing::Test {
protected:
    ExtensionLoaderTest() {
        TakeCalls();
        engine.Create(nullptr, IDW_ENGINE_WINDOW);
        host.Create({100, 250});
        view.Create(host.GetSafeHwnd(), IDW_KEYBOARD_VIEW, L"");
        host.SetView(view.GetSafeHwnd());
        host.ResizeForKeyboard(gw::kBuiltInNormalHeights[2]);
        engine.SetView(&view);
        engine.SetApplication(this);
        view.SetFocusedWindow(target.Edit(), ::GetWindowThreadProcessId(target.Edit(), nullptr));
        host.onExtensionKeyboard = [this](bool on) {
            if (on)
                loader.TurnOnKeyboard();
            else
                loader.TurnOffKeyboard();
        };
    }
    ~ExtensionLoaderTest() override {
        loader.Release();
        engine.SetView(nullptr);
        ::SetDllDirectoryW(nullptr);
    }

    void Load(const wchar_t* variants) {
        ::SetDllDirectoryW(VariantFolder(variants).c_str());
        ASSERT_TRUE(loader.LoadExtensions(engine));
    }
    // A circle wider than the grid on the letter grid: the engine's toggle of the extension.
    void BigCircle() {
        const gw::Point start{290, 150};
        engine.StrokeStart(gw::kLetterGrid, start.x, start.y, 0);
        for (int i = 1; i <= 24; ++i) {
            const double a = i * 2 * 3.14159265358979 / 24;
            engine.StrokeMove(start.x + static_cast<int>(std::lround(160 * (std::cos(a) - 1))),
                              start.y + static_cast<int>(std::lround(160 * std::sin(a))), 0);
        }
        engine.StrokeEnd(start.x, start.y, 0);
    }

    wintest::TargetWindow target;
    gw::AppSettings settings;
    gw::KeyboardLayout layout;
    gw::KeyGeometry geometry;
    gw::CombineList combines{gw::BuiltInCombineList().begin(), gw::BuiltInCombineList().end()};
    CGWMainEngine engine{layout, geometry, combines};
    wintest::HostWindow host{settings, target.Frame()};
    CKeyboardView view{settings, layout, geometry, engine, host};
    CExtensionLoader loader;
};

TEST(ExtensionLoader, NamesTheFourLibraries) {
    EXPECT_EQ(CExtensionLoader::LibraryName(0), L"GWExt000.dll");
    EXPECT_EQ(CExtensionLoader::LibraryName(3), L"GWExt003.dll");
}

TEST_F(ExtensionLoaderTest, CallsAnExtensionInTheOrderOfItsLife) {
    Load(L"first");
    EXPECT_EQ(TakeCalls(), L"0:SetupCursors(own) 0:Install 0:SetGWEngine ");
    EXPECT_EQ(engine.Engine().extensionKeyboard, 1);
    EXPECT_NE(loader.Module(0), nullptr);
    EXPECT_EQ(loader.Module(1), nullptr);

    BigCircle();
    EXPECT_EQ(engine.Engine().extensionKeyboard, 0);
    BigCircle();
    EXPECT_EQ(engine.Engine().extensionKeyboard, 1);
    EXPECT_EQ(TakeCalls(), L"0:TurnOff 0:TurnOn ");

    loader.Release();
    EXPECT_EQ(TakeCalls(), L"0:TurnOff 0:Uninstall 0:Freed ");
    EXPECT_EQ(loader.Module(0), nullptr);
    loader.Release();
    EXPECT_EQ(TakeCalls(), L"") << "released once only";
}

// Only the first slot is switched by the user: an extension in the second one is installed
// but never switched.
TEST_F(ExtensionLoaderTest, TheToggleReachesTheFirstSlotOnly) {
    Load(L"second");
    EXPECT_EQ(TakeCalls(), L"1:SetupCursors(own) 1:Install 1:SetGWEngine ");
    BigCircle();
    BigCircle();
    EXPECT_EQ(TakeCalls(), L"");
    loader.Release();
    EXPECT_EQ(TakeCalls(), L"1:TurnOff 1:Uninstall 1:Freed ");
}

// Slot 0 lacks UninstallKeyboard, slot 2 does not install, slot 3 is no library at all: none
// is given the engine, and the end still calls what each bound.
TEST_F(ExtensionLoaderTest, AnExtensionThatIsIncompleteOrFailsLeavesItsSlotUnused) {
    const std::wstring folder = VariantFolder(L"faulty");
    std::ofstream(std::filesystem::path(folder + L"\\GWExt003.dll")) << "no library";
    Load(L"faulty");
    EXPECT_EQ(TakeCalls(), L"2:SetupCursors(own) 2:Install ");
    EXPECT_EQ(engine.Engine().extensionKeyboard, 0);
    EXPECT_EQ(loader.Module(3), nullptr);

    loader.Release();
    EXPECT_EQ(TakeCalls(), L"0:TurnOff 0:Freed 2:TurnOff 2:Uninstall 2:Freed ");
}

// Every operation, called through the interface from a library built apart from the program,
// reaches the engine and the view it was meant for.
TEST_F(ExtensionLoaderTest, AnExtensionReachesEveryOperationOfTheEngine) {
    Load(L"first");
    using CallEngine = std::intptr_t (*)(int, std::intptr_t, int, int, int);
    const auto call = reinterpret_cast<CallEngine>(
        reinterpret_cast<void*>(::GetProcAddress(loader.Module(0), "CallEngine")));
    ASSERT_NE(call, nullptr);
    ASSERT_TRUE(target.TakeFocus());

    // Key 3, down and back: its return character, where the points without the moves would
    // have been a tap.
    call(0, gw::kLetterGrid, 250, 50, 1);
    for (int y : {80, 120, 80})
        call(1, 250, y, 1, 0);
    call(2, 250, 50, 1, 0);
    EXPECT_TRUE(target.WaitForText(L"\u00B1")) << "typed " << target.Text().size();

    gw::EngineSettings quick = engine.Engine().Settings();
    quick.minimizeTime = 0;
    engine.Engine().ApplySettings(quick, settings.circleAreaRatio);
    call(3, 0, 0, 0, 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return host.minimizeRequests > 0; }, 3000));

    call(4, gw::kVertical, 0, 0, 0);
    EXPECT_FALSE(engine.Engine().IsStateAllowed(gw::kVertical));
    call(5, 0, 0, 0, 0);
    EXPECT_EQ(settings.keyboardState, gw::kHorizontal);
    call(6, 0, 0, 0, 0);
    EXPECT_EQ(settings.keyboardState, gw::kHorizontal) << "Vertical is not allowed";
    call(4, gw::kVertical, 1, 0, 0);
    call(6, 0, 0, 0, 0);
    EXPECT_EQ(settings.keyboardState, gw::kVertical);
    call(7, 0, 0, 0, 0);
    EXPECT_EQ(settings.keyboardState, gw::kNormal);

    EXPECT_EQ(call(8, 0, 0, 0, 0), 1);
    call(9, 0, 0, 0, 0);
    EXPECT_EQ(engine.Engine().letterSide, 0);
    EXPECT_EQ(call(8, 0, 0, 0, 0), 0);
    call(10, 1, 0, 0, 0);
    EXPECT_EQ(engine.Engine().externalPointer, 1);
    EXPECT_EQ(call(11, 0, 0, 0, 0), 1);
    EXPECT_EQ(call(12, 0, 0, 0, 0), reinterpret_cast<std::intptr_t>(this));

    HCURSOR touch = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_TOUCH_CURSOR));
    call(13, reinterpret_cast<std::intptr_t>(touch), 0, 0, 0);
    EXPECT_EQ(::GetCursor(), touch);
}

} // namespace
