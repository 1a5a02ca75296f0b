// The settings dialog under Wine, driven with the messages its controls send: the sliders'
// rules, the circle ratio, Default with its question, OK and Cancel, and what reaches the
// registry.
#include "shell/win/OptionsDlg.h"
#include "resources/resource.h"
#include "shell/OptionsRules.h"
#include "shell/win/RegistrySettings.h"
#include "tests/win/Screenshots.h"
#include "tests/win/WinTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// The application's side: settings that are saved to the registry, and the languages.
class FakeHost : public COptionsDlgHost {
public:
    gw::AppSettings& Settings() override { return app; }
    const gw::EngineSettings& EngineSettings() const override { return engine; }
    void ApplyEngineSettings(const gw::EngineSettings& settings) override { engine = settings; }
    void SaveSettings() override {
        RegistrySettingsStore store;
        gw::SaveSettings(store, app, engine, macros);
        ++saves;
    }
    void RestartIdleTimer() override { ++idleRestarts; }
    const std::vector<std::u16string>& LanguageList() const override { return languages; }
    const std::u16string& CurrentLanguage() const override { return app.language; }
    void SetLanguage(const std::u16string& name) override {
        app.language = name;
        ++languageLoads;
    }

    gw::AppSettings app;
    gw::EngineSettings engine;
    gw::MacroSettings macros;
    std::vector<std::u16string> languages{u"English", u"Deutsch", u"Fran\u00E7ais"};
    int saves = 0;
    int idleRestarts = 0;
    int languageLoads = 0;
};

// The settings as the registry holds them now.
struct Stored {
    gw::AppSettings app;
    gw::EngineSettings engine;
};
Stored ReadRegistry() {
    Stored stored;
    gw::MacroSettings macros;
    RegistrySettingsStore store;
    gw::LoadSettings(store, stored.app, stored.engine, macros);
    return stored;
}

class OptionsDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Vantorel\\Glyphwell");
        host.app.language = u"Deutsch";
    }
    void Open() {
        ASSERT_TRUE(dialog.Create());
        window = dialog.GetSafeHwnd();
    }
    // The user drags a slider to a position: the slider moves and tells the dialog.
    void MoveSlider(int id, int position) {
        HWND slider = ::GetDlgItem(window, id);
        ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
        ::SendMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                       reinterpret_cast<LPARAM>(slider));
    }
    int Slider(int id) const {
        return static_cast<int>(::SendMessageW(::GetDlgItem(window, id), TBM_GETPOS, 0, 0));
    }
    std::wstring Text(int id) const { return wintest::WindowText(::GetDlgItem(window, id)); }
    void Click(int id) {
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
    }
    // Clicks Default and answers its question with the button.
    void ClickDefault(int answer) {
        std::atomic<bool> asked{false};
        std::thread answering([&] {
            for (int i = 0; i < 500 && !asked; ++i) {
                HWND box = ::FindWindowW(L"#32770", L"Glyphwell");
                if (box && ::IsWindowVisible(box)) {
                    asked = wintest::WindowText(::GetDlgItem(box, 0xFFFF)) ==
                            L"This will restore all default settings.\nAre you sure you want to "
                            L"continue?";
                    ::PostMessageW(box, WM_COMMAND, answer, 0);
                }
                ::Sleep(10);
            }
        });
        Click(IDC_DEFAULTS);
        answering.join();
        EXPECT_TRUE(asked) << "the question was not asked";
    }

    FakeHost host;
    COptionsDlg dialog{host};
    HWND window = nullptr;
};

TEST_F(OptionsDlgTest, TheDragSlidersKeepTheirDistance) {
    Open();
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    wintest::PumpFor(200);
    EXPECT_TRUE(wintest::WriteBmp(wintest::FromScreen(window), "options-dialog.bmp"));
    EXPECT_EQ(Text(IDC_MIN_DRAG_VALUE), L"30");
    EXPECT_EQ(Text(IDC_MAX_DRAG_VALUE), L"200");
    MoveSlider(IDC_MAX_DRAG_SLIDER, 105);
    MoveSlider(IDC_MIN_DRAG_SLIDER, 100);
    EXPECT_EQ(Slider(IDC_MAX_DRAG_SLIDER), 115);
    EXPECT_EQ(Text(IDC_MAX_DRAG_VALUE), L"115");

    MoveSlider(IDC_MIN_DRAG_SLIDER, 90);
    MoveSlider(IDC_MAX_DRAG_SLIDER, 100);
    EXPECT_EQ(Slider(IDC_MIN_DRAG_SLIDER), 85);
    EXPECT_EQ(Text(IDC_MIN_DRAG_VALUE), L"85");

    Click(IDOK);
    EXPECT_EQ(host.engine.minDrag, 85u);
    EXPECT_EQ(host.engine.maxDrag, 100u);
    EXPECT_EQ(ReadRegistry().engine.maxDrag, 100u);
    EXPECT_EQ(host.idleRestarts, 1);
}

TEST_F(OptionsDlgTest, AStoredRatioSurvivesOkUntilTheSliderMoves) {
    Open();
    EXPECT_EQ(Slider(IDC_CIRCLE_SLIDER), 2);
    Click(IDOK);
    EXPECT_DOUBLE_EQ(host.app.circleAreaRatio, 0.12);
    EXPECT_EQ(host.languageLoads, 0) << "the language did not change";

    COptionsDlg again{host};
    ASSERT_TRUE(again.Create());
    window = again.GetSafeHwnd();
    MoveSlider(IDC_CIRCLE_SLIDER, 2);
    EXPECT_DOUBLE_EQ(again.CircleRatio(), 0.1);
    Click(IDOK);
    EXPECT_DOUBLE_EQ(host.app.circleAreaRatio, 0.1);
    EXPECT_DOUBLE_EQ(ReadRegistry().app.circleAreaRatio, 0.1);
}

TEST_F(OptionsDlgTest, DefaultThenCancelChangesNothing) {
    host.engine.minDrag = 50;
    host.engine.shiftCtrlAltDragAction = 1;
    host.engine.dontMinimize = true;
    host.app.traceColor = 0x0000FF;
    const gw::AppSettings app = host.app;
    const gw::EngineSettings engine = host.engine;
    Open();
    EXPECT_EQ(Text(IDC_WITH_CHARACTERS_LABEL), L"(Drag and Return)");
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDC_IDLE_SLIDER)));

    ClickDefault(IDYES);
    EXPECT_EQ(Slider(IDC_MIN_DRAG_SLIDER), 30);
    EXPECT_EQ(Text(IDC_WITH_CHARACTERS_LABEL), L"(Drag)");
    EXPECT_EQ(Text(IDC_IMMEDIATELY_LABEL), L"(Drag and Return)");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, IDC_IDLE_SLIDER)));
    EXPECT_EQ(::SendMessageW(::GetDlgItem(window, IDC_LANGUAGE), CB_GETCURSEL, 0, 0), 0)
        << "English";

    Click(IDCANCEL);
    EXPECT_EQ(host.app, app);
    EXPECT_EQ(host.engine, engine);
    EXPECT_EQ(host.saves, 0);
}

TEST_F(OptionsDlgTest, DefaultAnsweredNoLeavesTheControlsAndOkChangesTheLanguage) {
    host.engine.minDrag = 50;
    Open();
    ClickDefault(IDNO);
    EXPECT_EQ(Slider(IDC_MIN_DRAG_SLIDER), 50);
    ::SendMessageW(::GetDlgItem(window, IDC_LANGUAGE), CB_SETCURSEL, 2, 0);
    ::CheckDlgButton(window, IDC_DONT_MINIMIZE, BST_CHECKED);
    Click(IDC_DONT_MINIMIZE);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDC_IDLE_VALUE)));
    Click(IDOK);
    EXPECT_EQ(host.languageLoads, 1);
    EXPECT_EQ(host.app.language, u"Fran\u00E7ais");
    EXPECT_TRUE(host.engine.dontMinimize);
    EXPECT_TRUE(ReadRegistry().engine.dontMinimize);
}

} // namespace
