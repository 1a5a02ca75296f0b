// How long a tap on the keyboard takes to become a character in the program being typed into:
// from the pen-up of a tap on the letter key 'a' to the WM_CHAR 'a' in a focused edit control,
// next to a tap on the least possible keyboard (GWLeastKeyboard.exe) and one bare SendInput of
// the same key into the same control. Starts Glyphwell.exe from
// the install folder next to this program and prints the medians and 90th percentiles.
//
//   GWTapLatencyProbe [samples] [warm-up samples]      (default 200 and 10, of each kind)
#include "bench/win/ProbeSupport.h"
#include "keyboard/KeyboardModel.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using probe::Percentile;
using probe::PrintRow;
using probe::ProgramFolder;
using probe::RunningKeyboard;
using probe::StampingTarget;
constexpr int kLetterKeyA = 1; // the tap character of letter grid key 1

// One key press and release of 'a', one record a call, of the kind the keyboard sent: the
// character itself (its key-down then arrives as VK_PACKET) or the 'A' key by its scan code,
// as the keyboard types into a window whose layout it knows.
void SendBareA(bool unicode) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    if (unicode) {
        input.ki.wScan = L'a';
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    } else {
        input.ki.wVk = 'A';
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW('A', MAPVK_VK_TO_VSC));
        input.ki.dwFlags = KEYEVENTF_SCANCODE;
    }
    ::SendInput(1, &input, sizeof(input));
    input.ki.dwFlags |= KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
}

// Milliseconds from the pen-up of a tap on the 'a' key to the WM_CHAR, or a negative value
// when no 'a' arrived.
double TapSample(StampingTarget& target, POINT key) {
    e2e::Mouse::Down(key);
    ::Sleep(20); // the keyboard has taken the pen-down before the pen-up goes
    target.Expect(L'a');
    const LONGLONG sent = probe::Now();
    e2e::Mouse::Up(key);
    const LONGLONG arrived = target.WaitForExpected();
    return arrived ? probe::TicksToMs(arrived - sent) : -1.0;
}

double BareSample(StampingTarget& target, bool unicode) {
    target.Expect(L'a');
    const LONGLONG sent = probe::Now();
    SendBareA(unicode);
    const LONGLONG arrived = target.WaitForExpected();
    return arrived ? probe::TicksToMs(arrived - sent) : -1.0;
}

// Start to visible window, and memory after the taps, of both keyboards.
void PrintStartAndMemory(const probe::ShownProgram& keyboard, const probe::ShownProgram& least) {
    SIZE_T keyboardPrivate = 0, keyboardSet = 0, leastPrivate = 0, leastSet = 0;
    keyboard.Memory(keyboardPrivate, keyboardSet);
    least.Memory(leastPrivate, leastSet);
    const double mb = 1024.0 * 1024.0;
    std::printf("\n| %-31s | %9s | %9s |\n", "program", "Glyphwell", "least kb");
    std::printf("|---------------------------------|-----------|-----------|\n");
    std::printf("| %-31s | %9.1f | %9.1f |\n", "start to visible window, ms", keyboard.StartMs(),
                least.StartMs());
    std::printf("| %-31s | %9.1f | %9.1f |\n", "private bytes, MB", keyboardPrivate / mb,
                leastPrivate / mb);
    std::printf("| %-31s | %9.1f | %9.1f |\n", "working set, MB", keyboardSet / mb, leastSet / mb);
}

int Fail(const char* why) {
    std::fprintf(stderr, "GWTapLatencyProbe: %s\n", why);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const int samples = argc > 1 ? std::atoi(argv[1]) : 200;
    const int warmUp = argc > 2 ? std::atoi(argv[2]) : 10;
    if (samples < 1 || warmUp < 0)
        return Fail("usage: GWTapLatencyProbe [samples >= 1] [warm-up samples >= 0]");

    e2e::ResetSettings(); // a first start: the default picture, Normal at size 3
    StampingTarget target;
    if (!target.Frame())
        return Fail("the target window did not come up");
    RunningKeyboard keyboard(ProgramFolder() + L"\\Glyphwell");
    if (!keyboard.View())
        return Fail("Glyphwell.exe did not show its keyboard");
    if (!e2e::WaitUntil([&] { return ::GetForegroundWindow() == target.Frame(); }, 5000))
        return Fail("the target window did not stay in the foreground");
    ::Sleep(300); // let the keyboard paint once

    gw::KeyGeometry geometry; // of the default picture
    geometry.Compute(180, 180, gw::kNormal, true);
    const e2e::KeyboardOnScreen keys(keyboard.View(), geometry);
    const POINT keyA = keys.At(gw::kLetterGrid, e2e::KeyboardOnScreen::KeyCentre(kLetterKeyA));
    e2e::Mouse::MoveTo(keyA);

    // The least possible keyboard, away from Glyphwell's window.
    const POINT leastAt{600, 400};
    const probe::ShownProgram least(ProgramFolder() + L"\\GWLeastKeyboard.exe", ProgramFolder(),
                                    L"GWLeastKeyboard",
                                    std::to_wstring(leastAt.x) + L" " + std::to_wstring(leastAt.y));
    if (!least.Window())
        return Fail("GWLeastKeyboard.exe did not show its window");
    const POINT leastKey{leastAt.x + 50, leastAt.y + 50};

    std::vector<double> tap, leastTap, bare;
    bool unicode = false;
    for (int i = 0; i < warmUp + samples; ++i) {
        // The three kinds take turns at going first, so none always follows another. The first
        // tap shows which kind of key event the bare SendInput has to send.
        double tapMs = 0, leastMs = 0, bareMs = 0;
        for (int turn = 0; turn < 3; ++turn) {
            switch ((i + turn) % 3) {
            case 0:
                tapMs = TapSample(target, keyA);
                if (i == 0)
                    unicode = target.LastKeyDown() == VK_PACKET;
                break;
            case 1:
                leastMs = TapSample(target, leastKey);
                break;
            default:
                bareMs = BareSample(target, unicode);
                break;
            }
        }
        if (tapMs < 0)
            return Fail("a tap on the 'a' key typed no 'a'");
        if (leastMs < 0)
            return Fail("a tap on the least possible keyboard typed no 'a'");
        if (bareMs < 0)
            return Fail("a bare SendInput of 'a' typed no 'a'");
        if (i >= warmUp) {
            tap.push_back(tapMs);
            leastTap.push_back(leastMs);
            bare.push_back(bareMs);
        }
        ::Sleep(20); // all programs idle before the next round
    }
    if (target.OtherCharacters() != 0)
        return Fail("characters other than 'a' arrived");

    std::printf("Tap latency: pen-up (or SendInput) to WM_CHAR, %d samples each, %d warm-up "
                "dropped\n\n",
                samples, warmUp);
    std::printf("| %-31s | %9s | %9s |\n", "path", "median ms", "p90 ms");
    std::printf("|---------------------------------|-----------|-----------|\n");
    PrintRow("tap on Glyphwell's 'a' key", tap);
    PrintRow("tap on the least keyboard", leastTap);
    PrintRow(unicode ? "bare SendInput of 'a' (Unicode)" : "bare SendInput of 'a' (key)", bare);
    PrintStartAndMemory(keyboard, least);
    std::printf("\nratio of medians, Glyphwell / least keyboard: %.2f\n",
                Percentile(tap, 0.5) / Percentile(leastTap, 0.5));
    std::printf("ratio of medians, Glyphwell / bare SendInput: %.2f\n",
                Percentile(tap, 0.5) / Percentile(bare, 0.5));
    return 0;
}
