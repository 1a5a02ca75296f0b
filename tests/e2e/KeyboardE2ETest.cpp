// The keyboard program as a user runs it: Glyphwell.exe and a program to type into are started,
// strokes are drawn on the keyboard with the real mouse, the menu and tray commands are given to
// its window, and what arrives in the other program and in the registry is read back.
#include "hook/SharedArea.h"
#include "shell/MainFrameGeometry.h"
#include "shell/win/MainFrameSupport.h"
#include "tests/e2e/E2ESupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <utility>

namespace {

using e2e::kFrameClass;
using e2e::kViewClass;
// Menu and tray commands of the keyboard's window.
constexpr WPARAM kSizeCommands[6] = {32816, 32815, 32814, 32813, 32812, 32811};
constexpr WPARAM kModeNormal = 32803, kModeHorizontal = 32807, kModeVertical = 32809;
constexpr WPARAM kTransparency30 = 32790;
using e2e::kTrayExit;
constexpr WPARAM kGame = 32800;
constexpr WPARAM kSettings = 32785;

// The text of the first static control of a dialog.
std::wstring DialogText(HWND dialog) {
    HWND text = ::FindWindowExW(dialog, nullptr, L"Static", nullptr);
    while (text && ::GetWindowTextLengthW(text) == 0)
        text = ::FindWindowExW(dialog, text, L"Static", nullptr);
    if (!text)
        return {};
    wchar_t buffer[512] = {};
    ::GetWindowTextW(text, buffer, 512);
    return buffer;
}

using e2e::NormalGeometry;

gw::Size WindowSize(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Each test starts from a first start: no stored settings, the target program in front, then
// the keyboard.
class KeyboardE2E : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::ResetSettings();
        target_ = std::make_unique<e2e::Process>(e2e::FullPath(L"GWTypingTarget.exe"),
                                                 e2e::FullPath(L"."));
        ASSERT_TRUE(target_->Started());
        targetWindow = target_->WaitForWindow(L"GWTypingTarget", 10000);
        ASSERT_NE(targetWindow, nullptr);
        edit = ::FindWindowExW(targetWindow, nullptr, L"EDIT", nullptr);
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == targetWindow; }, 5000));
    }

    void StartKeyboard(bool visible = true) {
        keyboard = StartKeyboardProcess();
        ASSERT_TRUE(keyboard->Started());
        frame = keyboard->WaitForWindow(kFrameClass, 10000, visible);
        ASSERT_NE(frame, nullptr);
        // A hidden frame is found while it is still being created: wait for its view as well.
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (view = ::FindWindowExW(frame, nullptr, kViewClass, nullptr)); }, 5000));
        ::Sleep(300); // let it paint once
    }

    static std::unique_ptr<e2e::Process> StartKeyboardProcess() {
        return std::make_unique<e2e::Process>(e2e::FullPath(L"Glyphwell\\Glyphwell.exe"),
                                              e2e::FullPath(L"Glyphwell"));
    }

    // A menu or tray command, as the menu sends it.
    void Command(WPARAM command) const {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(frame, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, 5000, &result);
    }

    void ExitFromTray() const {
        ::PostMessageW(frame, WM_COMMAND, kTrayExit, 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(keyboard->WaitForExit(10000, &exitCode));
        EXPECT_EQ(exitCode, 0u) << "the keyboard ended abnormally";
    }

    std::unique_ptr<e2e::Process> target_;
    std::unique_ptr<e2e::Process> keyboard;
    HWND targetWindow = nullptr;
    HWND edit = nullptr;
    HWND frame = nullptr;
    HWND view = nullptr;
};

TEST_F(KeyboardE2E, TypesASentenceIntoAnotherProgram) {
    StartKeyboard();
    e2e::KeyboardOnScreen keys(view, NormalGeometry(true));
    using gw::kLetterGrid;
    keys.Drag(kLetterGrid, 6, gw::kN);       // Shift for the next letter
    keys.Tap(kLetterGrid, 4);                // H
    keys.Tap(kLetterGrid, 3);                // i
    keys.Drag(kLetterGrid, 8, gw::kSW);      // ,
    keys.Tap(gw::kSpaceArea);                // space
    keys.DragReturn(kLetterGrid, 5, gw::kE); // B
    keys.Circle(kLetterGrid, 9);             // S
    keys.Tap(kLetterGrid, 1);                // a
    keys.Drag(kLetterGrid, 2, gw::kNE);      // ´ combines with it: á
    keys.Tap(kLetterGrid, 5);                // o
    keys.Tap(gw::kBackspaceArea);            // and gone again
    keys.Tap(kLetterGrid, 5);                // o
    keys.Tap(kLetterGrid, 8);                // e
    keys.Drag(kLetterGrid, 1, gw::kNW);      // combined: œ
    keys.Tap(gw::kSystemArea);               // to the number side
    keys.SetGeometry(NormalGeometry(false));
    keys.Tap(gw::kNumberGrid, 4); // 4
    keys.Tap(gw::kSystemArea);    // back to the letters
    keys.SetGeometry(NormalGeometry(true));
    keys.Drag(kLetterGrid, 3, gw::kNE); // Enter

    const std::wstring expected = L"Hi, BS\u00E1\u0153"
                                  L"4\r\n";
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::EditText(edit) == expected; }, 5000))
        << "typed " << e2e::EditText(edit).size() << " characters";
    EXPECT_EQ(::GetForegroundWindow(), targetWindow);
}

TEST_F(KeyboardE2E, MenuSizesAndModesGiveTheirWindowSizes) {
    StartKeyboard();
    const gw::FrameMetrics metrics = ReadFrameMetrics();
    const struct {
        WPARAM command;
        std::uint32_t state;
    } modes[] = {{kModeNormal, gw::kNormal},
                 {kModeHorizontal, gw::kHorizontal},
                 {kModeVertical, gw::kVertical}};
    for (const auto& mode : modes) {
        Command(mode.command);
        for (std::uint32_t size = 1; size <= 6; ++size) {
            Command(kSizeCommands[size - 1]);
            // Vertical has no size 1: the command leaves the size it had (3).
            const std::uint32_t shown = mode.state == gw::kVertical && size == 1 ? 3 : size;
            EXPECT_EQ(WindowSize(frame), gw::WindowSizeForKeyboard(mode.state, shown, metrics))
                << "state " << mode.state << " size " << size;
        }
        Command(kSizeCommands[2]);
    }
    ExitFromTray();
    EXPECT_EQ(e2e::ReadSetting(L"KeyboardState"), DWORD{gw::kVertical});
    EXPECT_EQ(e2e::ReadSetting(L"KeyboardSize"), 3u);
}

TEST_F(KeyboardE2E, TransparencyThenExitFromTheTraySavesTheSettings) {
    StartKeyboard();
    Command(kTransparency30);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(frame, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 178);
    EXPECT_EQ(flags & LWA_ALPHA, DWORD{LWA_ALPHA});
    ExitFromTray();
    EXPECT_EQ(e2e::ReadSetting(L"Transparency"), 30u);
    EXPECT_EQ(e2e::ReadSetting(L"CurrentVersion"), 411u);
}

BYTE Alpha(HWND window) {
    BYTE alpha = 0;
    ::GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr);
    return alpha;
}

TEST_F(KeyboardE2E, AClickOnTheCaptionMakesItOpaqueUntilTheFocusGoesBack) {
    StartKeyboard();
    Command(kTransparency30);
    RECT frameRect{};
    ::GetWindowRect(frame, &frameRect);
    const POINT caption{frameRect.left + 40, frameRect.top + ::GetSystemMetrics(SM_CYFRAME) +
                                                 ::GetSystemMetrics(SM_CYCAPTION) / 2};
    e2e::Mouse::Stroke({caption, caption});
    EXPECT_TRUE(e2e::WaitUntil([&] { return Alpha(frame) == 255; }, 5000));

    // The pen over the keyboard gives the focus back to the program being typed into.
    e2e::KeyboardOnScreen keys(view, NormalGeometry(true));
    e2e::Mouse::MoveTo(keys.At(gw::kLetterGrid, {150, 150}));
    e2e::Mouse::MoveTo(keys.At(gw::kLetterGrid, {160, 160}));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == targetWindow; }, 5000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return Alpha(frame) == 178; }, 5000));
    ExitFromTray();
}

TEST_F(KeyboardE2E, TheSharedAreaLivesFromStartToExit) {
    StartKeyboard();
    HANDLE mapping = ::OpenFileMappingW(FILE_MAP_READ, FALSE, L"GWOKHookMemFileMap");
    ASSERT_NE(mapping, nullptr);
    const void* area = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(area, nullptr);
    MEMORY_BASIC_INFORMATION region{};
    ::VirtualQuery(area, &region, sizeof(region));
    EXPECT_GE(region.RegionSize, gw::kSharedAreaBytes);
    const auto& header = static_cast<const gw::SharedArea*>(area)->header;
    EXPECT_EQ(header.active, 1u);
    EXPECT_EQ(gw::HandleFromShared(header.mainWindow), frame);
    // The hooks are installed and the ring is in use.
    EXPECT_NE(header.messageHook, 0u);
    EXPECT_NE(header.callHook, 0u);
    EXPECT_LT(header.readIndex, gw::kHookRingCapacity);
    EXPECT_LT(header.writeIndex, gw::kHookRingCapacity);
    HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, L"GWOKHookMemFileMutex");
    EXPECT_NE(mutex, nullptr);
    if (mutex)
        ::CloseHandle(mutex);

    ExitFromTray();
    // Our view still holds the area: the program removed the hooks and marked it inactive
    // before letting go.
    EXPECT_EQ(header.active, 0u);
    EXPECT_EQ(header.messageHook, 0u);
    EXPECT_EQ(header.callHook, 0u);
    ::UnmapViewOfFile(area);
    ::CloseHandle(mapping);
    EXPECT_EQ(::OpenFileMappingW(FILE_MAP_READ, FALSE, L"GWOKHookMemFileMap"), nullptr);
}

TEST_F(KeyboardE2E, ClosingTheWindowHidesItToTheTray) {
    StartKeyboard();
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(frame); }, 5000));
    EXPECT_FALSE(keyboard->WaitForExit(500)) << "closing only hides the keyboard";
    ExitFromTray();
}

TEST_F(KeyboardE2E, ASecondStartRestoresTheFirstAndEnds) {
    StartKeyboard();
    ::PostMessageW(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(frame); }, 5000));

    const auto second = StartKeyboardProcess();
    ASSERT_TRUE(second->Started());
    EXPECT_TRUE(second->WaitForExit(10000));
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return ::IsWindowVisible(frame) && !::IsIconic(frame); }, 5000));
    ExitFromTray();
}

TEST_F(KeyboardE2E, StartsMinimizedToTheTrayWhenAskedTo) {
    ASSERT_TRUE(e2e::WriteSetting(L"StartMinimized", 1));
    ASSERT_TRUE(e2e::WriteSetting(L"MinimizeToTray", 1));
    StartKeyboard(false);
    ::Sleep(1000);
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_EQ(::GetForegroundWindow(), targetWindow);
    ExitFromTray();
}

// Moves the installed game aside while it lives.
class GameMovedAside {
public:
    GameMovedAside()
        : installed_(e2e::FullPath(L"Glyphwell\\GW Game.exe")), aside_(installed_ + L".aside") {
        ::MoveFileExW(installed_.c_str(), aside_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    ~GameMovedAside() { ::MoveFileExW(aside_.c_str(), installed_.c_str(), 0); }
    GameMovedAside(const GameMovedAside&) = delete;
    GameMovedAside& operator=(const GameMovedAside&) = delete;

private:
    std::wstring installed_;
    std::wstring aside_;
};

TEST_F(KeyboardE2E, AMissingGameIsReported) {
    GameMovedAside missing;
    StartKeyboard();
    ::PostMessageW(frame, WM_COMMAND, kGame, 0);
    HWND box = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            box = ::FindWindowW(L"#32770", L"Glyphwell");
            return box != nullptr;
        },
        5000));
    EXPECT_EQ(DialogText(box), L"Unable to start game.\nPlease check that GW Game.exe is "
                               L"installed in the same directory with Glyphwell.exe");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(box); }, 5000));
    ExitFromTray();
}

TEST_F(KeyboardE2E, TheSettingsDialogStoresWhatItShowsOnOk) {
    StartKeyboard();
    ::PostMessageW(frame, WM_COMMAND, kSettings, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            dialog = ::FindWindowW(L"#32770", L"Glyphwell Keyboard Settings");
            return dialog && ::IsWindowVisible(dialog); // shown once it is filled in
        },
        5000));
    // The user moves Minimum Drag to 100 (Maximum Drag gives way to 115) and the idle time to 5.
    ::SendMessageW(::GetDlgItem(dialog, 1001), TBM_SETPOS, TRUE, 110);
    for (auto [id, position] : {std::pair{1000, 100}, std::pair{1002, 5}}) {
        HWND slider = ::GetDlgItem(dialog, id);
        ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
        ::SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                       reinterpret_cast<LPARAM>(slider));
    }
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(dialog); }, 5000));
    ExitFromTray();
    EXPECT_EQ(e2e::ReadSetting(L"MinDrag"), 100u);
    EXPECT_EQ(e2e::ReadSetting(L"MaxDrag"), 115u);
    EXPECT_EQ(e2e::ReadSetting(L"MinimizeTime"), 5u);
}

TEST_F(KeyboardE2E, ResizingByTheBorderSettlesOnATableSize) {
    StartKeyboard();
    RECT before{};
    ::GetWindowRect(frame, &before);
    // The bottom-right corner of the sizing border, dragged 60 pixels out both ways: the client
    // area then holds a 240 pixel square, size 4.
    const POINT grab{before.right - 2, before.bottom - 2};
    e2e::Mouse::DragWindowPart(grab, {grab.x + 60, grab.y + 60});
    const gw::Size expected = gw::WindowSizeForKeyboard(gw::kNormal, 4, ReadFrameMetrics());
    EXPECT_TRUE(e2e::WaitUntil([&] { return WindowSize(frame) == expected; }, 5000))
        << WindowSize(frame).width << " x " << WindowSize(frame).height;
    ExitFromTray();
    EXPECT_EQ(e2e::ReadSetting(L"KeyboardSize"), 4u);
    EXPECT_EQ(e2e::ReadSetting(L"KeyboardState"), DWORD{gw::kNormal});
}

TEST_F(KeyboardE2E, DraggingTheWindowNearAnEdgeRecordsTheClosestCorner) {
    StartKeyboard();
    RECT before{};
    ::GetWindowRect(frame, &before);
    // Grab the caption and drag the window to 10 pixels from the left edge, 200 from the top.
    const POINT grab{before.left + 40, before.top + ::GetSystemMetrics(SM_CYFRAME) +
                                           ::GetSystemMetrics(SM_CYCAPTION) / 2};
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const POINT drop{grab.x + (work.left + 10 - before.left),
                     grab.y + (work.top + 200 - before.top)};
    e2e::Mouse::DragWindowPart(grab, drop);
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            RECT r{};
            ::GetWindowRect(frame, &r);
            return r.left == work.left + 10 && r.top == work.top + 200;
        },
        5000));
    ExitFromTray();
    EXPECT_EQ(e2e::ReadSetting(L"ClosestCorner"), 0u);
    EXPECT_EQ(e2e::ReadSetting(L"HorizDistToClosestEdge"), 10u);
    EXPECT_EQ(e2e::ReadSetting(L"VertDistToClosestEdge"), 200u);
}

} // namespace
