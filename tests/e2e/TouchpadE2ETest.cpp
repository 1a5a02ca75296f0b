// The touchpad as a user's writing surface: the keyboard starts with its touchpad extension
// (GWExt000.dll) over the simulated touchpad (Touchpad.dll) of the install folder, the test
// puts fingers on the touchpad through its control channel, and another program receives the
// characters. The extension's cursors show on the keyboard while the finger is down and after
// it lifted, the big circle switches the touchpad off and on, the touchpad's placement is
// written to the registry at the end, and extensions that are missing or broken leave the
// keyboard working.
#include "extensions/touchpad/device/TouchpadControl.h"
#include "tests/e2e/E2ESupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using e2e::kFrameClass;
using e2e::kViewClass;
using touchpad::ControlArea;
using touchpad::DevicePacket;

constexpr std::uint16_t kThreshold = 40;            // the device's; a touch is above 80
constexpr std::uint16_t kTouching = 2 * kThreshold; // still touching, not yet a touch
constexpr std::uint16_t kFirm = 150;
constexpr std::uint16_t kLifted = 5;

// The simulated touchpad as the test drives it: present, with its threshold, for as long as
// the object lives.
class SimulatedTouchpad {
public:
    SimulatedTouchpad() {
        mapping_ = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(ControlArea), touchpad::kControlAreaName);
        control_ = static_cast<ControlArea*>(
            ::MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ControlArea)));
        packets_ = ::CreateEventW(nullptr, FALSE, FALSE, touchpad::kPacketsEventName);
        if (!control_)
            return;
        ::ZeroMemory(control_, sizeof(ControlArea));
        control_->threshold = kThreshold;
        control_->present = 1;
    }
    ~SimulatedTouchpad() {
        if (control_)
            ::UnmapViewOfFile(control_);
        ::CloseHandle(packets_);
        ::CloseHandle(mapping_);
    }
    SimulatedTouchpad(const SimulatedTouchpad&) = delete;
    SimulatedTouchpad& operator=(const SimulatedTouchpad&) = delete;

    bool Ready() const { return control_ != nullptr; }
    const ControlArea& Control() const { return *control_; }

    // One packet of finger data, handed over once the device took the one before; a device
    // reports about every 12 ms.
    void Finger(int x, int y, std::uint16_t z) {
        DevicePacket packet;
        packet.flags = gw::kPacketFingerFlag;
        packet.x = static_cast<std::uint16_t>(x);
        packet.y = static_cast<std::uint16_t>(y);
        packet.z = z;
        const LONG n = control_->written;
        control_->packets[static_cast<std::uint32_t>(n) % touchpad::kPacketRingSize] = packet;
        ::InterlockedExchange(&control_->written, n + 1);
        ::SetEvent(packets_);
        e2e::WaitUntil([&] { return control_->taken > n; }, 3000);
        ::Sleep(12);
    }
    // A finger pressed at the first point, moved through the others and lifted at the last.
    void Stroke(const std::vector<POINT>& points, std::uint16_t z = kFirm) {
        for (const POINT& p : points)
            Finger(p.x, p.y, z);
        Finger(points.back().x, points.back().y, kLifted);
    }
    void Tap(POINT at) { Stroke({at}); }

private:
    HANDLE mapping_ = nullptr;
    ControlArea* control_ = nullptr;
    HANDLE packets_ = nullptr;
};

// Touchpad points of the default placement: the keyboard from (50, 75), cells 480 x 374.
POINT OnGrid(gw::Point units) {
    return {50 + units.x * 480 / 100, 75 + units.y * 374 / 100};
}
POINT GridKey(int key) {
    return OnGrid(e2e::KeyboardOnScreen::KeyCentre(key));
}
// A straight drag of 60 units from a key's centre, and the same drag coming back.
std::vector<POINT> Drag(int key, gw::Point step) {
    std::vector<POINT> points;
    const gw::Point c = e2e::KeyboardOnScreen::KeyCentre(key);
    for (int i = 0; i <= 5; ++i)
        points.push_back(OnGrid({c.x + step.x * i, c.y + step.y * i}));
    return points;
}
std::vector<POINT> DragAndBack(int key, gw::Point step) {
    std::vector<POINT> points = Drag(key, step);
    for (int i = static_cast<int>(points.size()) - 2; i >= 0; --i)
        points.push_back(points[static_cast<std::size_t>(i)]);
    return points;
}
constexpr POINT kBottomMiddle{50 + 480 + 240, 75 + 3 * 374 + 187};
constexpr POINT kSystemKey{50 + 3 * 480 + 240, 75 + 3 * 374 + 187};

class TouchpadE2E : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::ResetSettings();
        ASSERT_TRUE(pad.Ready());
        target = std::make_unique<e2e::Process>(e2e::FullPath(L"GWTypingTarget.exe"),
                                                e2e::FullPath(L"."));
        ASSERT_TRUE(target->Started());
        targetWindow = target->WaitForWindow(L"GWTypingTarget", 10000);
        ASSERT_NE(targetWindow, nullptr);
        edit = ::FindWindowExW(targetWindow, nullptr, L"EDIT", nullptr);
        ASSERT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == targetWindow; }, 5000));
    }

    void StartKeyboard() {
        keyboard = std::make_unique<e2e::Process>(e2e::FullPath(L"Glyphwell\\Glyphwell.exe"),
                                                  e2e::FullPath(L"Glyphwell"));
        ASSERT_TRUE(keyboard->Started());
        frame = keyboard->WaitForWindow(kFrameClass, 10000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (view = ::FindWindowExW(frame, nullptr, kViewClass, nullptr)); }, 5000));
        ::Sleep(300);
    }
    void ExitFromTray() const {
        ::PostMessageW(frame, WM_COMMAND, e2e::kTrayExit, 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(keyboard->WaitForExit(10000, &exitCode));
        EXPECT_EQ(exitCode, 0u) << "the keyboard ended abnormally";
    }
    bool WaitForText(const std::wstring& expected) const {
        return e2e::WaitUntil([&] { return e2e::EditText(edit) == expected; }, 5000);
    }
    // The cursor the keyboard's thread shows, read with this thread's input attached to it.
    HCURSOR KeyboardCursor() const {
        const DWORD keyboardThread = ::GetWindowThreadProcessId(frame, nullptr);
        ::AttachThreadInput(::GetCurrentThreadId(), keyboardThread, TRUE);
        HCURSOR cursor = ::GetCursor();
        ::AttachThreadInput(::GetCurrentThreadId(), keyboardThread, FALSE);
        return cursor;
    }
    HCURSOR WaitForCursorOtherThan(HCURSOR before) const {
        HCURSOR now = before;
        e2e::WaitUntil([&] { return (now = KeyboardCursor()) != before; }, 3000);
        return now;
    }

    SimulatedTouchpad pad;
    std::unique_ptr<e2e::Process> target;
    std::unique_ptr<e2e::Process> keyboard;
    HWND targetWindow = nullptr;
    HWND edit = nullptr;
    HWND frame = nullptr;
    HWND view = nullptr;
};

TEST_F(TouchpadE2E, FingersOnTheTouchpadTypeIntoAnotherProgram) {
    StartKeyboard();
    const ControlArea& device = pad.Control();
    ASSERT_TRUE(e2e::WaitUntil([&] { return device.started == 1; }, 5000));
    EXPECT_EQ(device.opens, 1u);
    EXPECT_EQ(device.openArgument, -2);
    EXPECT_EQ(device.callbackMode, 3);
    EXPECT_EQ(device.callbackReserved, 0);

    pad.Tap(GridKey(1));                        // a
    pad.Stroke(Drag(5, {12, 0}));               // b
    pad.Stroke(DragAndBack(5, {0, -12}));       // U
    pad.Tap({50, 75});                          // a: the grid's corner
    pad.Tap({10, 10});                          // a: raised to the corner for the search
    std::vector<POINT> held = Drag(5, {12, 0}); // b, though pressed no harder than the threshold
    pad.Finger(held.front().x, held.front().y, kFirm);
    for (std::size_t i = 1; i < held.size(); ++i)
        pad.Finger(held[i].x, held[i].y, kTouching);
    pad.Finger(held.back().x, held.back().y, kTouching - 1);
    pad.Stroke({{50 + 3 * 480 - 1, 262}, {1480, 262}}); // i: between the areas, then on key 3
    pad.Tap(kBottomMiddle);                             // space: the wide space key
    pad.Tap(kSystemKey);                                // to the number side
    pad.Tap({50, 75});                                  // 1
    pad.Tap(kBottomMiddle);                             // 0: the zero key now
    EXPECT_TRUE(WaitForText(L"abUaabi 10")) << "typed " << e2e::EditText(edit).size();
    EXPECT_EQ(::GetForegroundWindow(), targetWindow);

    const DWORD keyboardThread = ::GetWindowThreadProcessId(frame, nullptr);
    EXPECT_NE(device.deliveringThread, 0u);
    EXPECT_NE(device.deliveringThread, keyboardThread) << "a device reports on its own thread";

    ExitFromTray();
    EXPECT_EQ(device.closes, 1u);
    EXPECT_EQ(device.started, 0u);
    EXPECT_EQ(e2e::ReadSetting(L"CirqueXStart"), 50u);
    EXPECT_EQ(e2e::ReadSetting(L"CirqueYStart"), 75u);
    EXPECT_EQ(e2e::ReadSetting(L"CirqueWidth"), 480u);
    EXPECT_EQ(e2e::ReadSetting(L"CirqueHeight"), 374u);
}

// The keyboard shows the extension's touch cursor while the finger is down and its idle
// cursor after it lifted, instead of its own arrow.
TEST_F(TouchpadE2E, TheExtensionsCursorsShowOnTheKeyboard) {
    StartKeyboard();
    ASSERT_TRUE(e2e::WaitUntil([&] { return pad.Control().started == 1; }, 5000));
    const e2e::KeyboardOnScreen keys(view, e2e::NormalGeometry(true));
    e2e::Mouse::MoveTo(keys.At(gw::kLetterGrid, {150, 150}));
    ::Sleep(200);
    const HCURSOR arrow = KeyboardCursor();

    const POINT key = GridKey(3);
    pad.Finger(key.x, key.y, kFirm);
    const HCURSOR touch = WaitForCursorOtherThan(arrow);
    EXPECT_NE(touch, arrow);
    pad.Finger(key.x, key.y, kLifted);
    const HCURSOR idle = WaitForCursorOtherThan(touch);
    EXPECT_NE(idle, touch);
    EXPECT_NE(idle, arrow);
    EXPECT_TRUE(WaitForText(L"i"));
    ::Sleep(300);
    EXPECT_EQ(KeyboardCursor(), idle) << "the idle cursor stays until the mouse moves";
    ExitFromTray();
}

// A circle wider than the grid, drawn with the mouse, switches the touchpad off, and the next
// one on again.
TEST_F(TouchpadE2E, TheBigCircleSwitchesTheTouchpadOffAndOn) {
    StartKeyboard();
    const ControlArea& device = pad.Control();
    ASSERT_TRUE(e2e::WaitUntil([&] { return device.started == 1; }, 5000));
    const e2e::KeyboardOnScreen keys(view, e2e::NormalGeometry(true));
    const auto bigCircle = [&] {
        std::vector<POINT> points;
        for (int i = 0; i <= 24; ++i) {
            const double a = i * 2 * 3.14159265358979 / 24;
            points.push_back(
                keys.At(gw::kLetterGrid, {290 + static_cast<int>(160 * (std::cos(a) - 1)),
                                          150 + static_cast<int>(160 * std::sin(a))}));
        }
        e2e::Mouse::Stroke(points);
    };

    bigCircle();
    ASSERT_TRUE(e2e::WaitUntil([&] { return device.started == 0; }, 5000));
    const LONG delivered = device.delivered;
    pad.Tap(GridKey(1));
    EXPECT_EQ(device.delivered, delivered) << "a stopped device reports nothing";

    bigCircle();
    ASSERT_TRUE(e2e::WaitUntil([&] { return device.started == 1; }, 5000));
    pad.Tap(GridKey(1));
    EXPECT_TRUE(WaitForText(L"a")) << "typed " << e2e::EditText(edit).size();
    ExitFromTray();
}

// A placement of the user's own, stored in the registry, is where the keys are, and stays.
TEST_F(TouchpadE2E, TheStoredPlacementIsUsedAndKept) {
    ASSERT_TRUE(e2e::WriteSetting(L"CirqueXStart", 200));
    ASSERT_TRUE(e2e::WriteSetting(L"CirqueYStart", 100));
    ASSERT_TRUE(e2e::WriteSetting(L"CirqueWidth", 300));
    StartKeyboard();
    ASSERT_TRUE(e2e::WaitUntil([&] { return pad.Control().started == 1; }, 5000));
    pad.Tap({200 + 300 + 150, 100 + 187}); // key 2: n
    EXPECT_TRUE(WaitForText(L"n")) << "typed " << e2e::EditText(edit).size();
    ExitFromTray();
    EXPECT_EQ(e2e::ReadSetting(L"CirqueXStart"), 200u);
    EXPECT_EQ(e2e::ReadSetting(L"CirqueWidth"), 300u);
    EXPECT_EQ(e2e::ReadSetting(L"CirqueHeight"), 374u);
}

// While the test runs, the install folder has no first extension, a second one that is no
// library and a third one that is a library without the extension functions.
class BrokenExtensions {
public:
    BrokenExtensions() {
        std::filesystem::rename(Installed(L"GWExt000.dll"), Installed(L"GWExt000.dll.aside"));
        std::ofstream(Installed(L"GWExt001.dll")) << "no library";
        std::filesystem::copy_file(Installed(L"GWOKHOOK.DLL"), Installed(L"GWExt002.dll"),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ~BrokenExtensions() {
        std::error_code ignored;
        std::filesystem::remove(Installed(L"GWExt001.dll"), ignored);
        std::filesystem::remove(Installed(L"GWExt002.dll"), ignored);
        std::filesystem::rename(Installed(L"GWExt000.dll.aside"), Installed(L"GWExt000.dll"),
                                ignored);
    }
    BrokenExtensions(const BrokenExtensions&) = delete;
    BrokenExtensions& operator=(const BrokenExtensions&) = delete;

private:
    static std::filesystem::path Installed(const wchar_t* name) {
        return std::filesystem::path(e2e::FullPath(L"Glyphwell")) / name;
    }
};

TEST_F(TouchpadE2E, MissingAndBrokenExtensionsLeaveTheKeyboardWorking) {
    const BrokenExtensions broken;
    StartKeyboard();
    const e2e::KeyboardOnScreen keys(view, e2e::NormalGeometry(true));
    keys.Tap(gw::kLetterGrid, 4); // h
    keys.Tap(gw::kLetterGrid, 3); // i
    EXPECT_TRUE(WaitForText(L"hi")) << "typed " << e2e::EditText(edit).size();
    EXPECT_EQ(pad.Control().opens, 0u);
    ExitFromTray();
}

} // namespace
