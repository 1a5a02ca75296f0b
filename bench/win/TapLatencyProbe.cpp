// How long a tap on the keyboard takes to become a character in the program being typed into:
// from the pen-up of a tap on the letter key 'a' to the WM_CHAR 'a' in a focused edit control,
// next to one bare SendInput of the same key into the same control. Starts Glyphwell.exe from
// the install folder next to this program and prints the medians and 90th percentiles.
//
//   GWTapLatencyProbe [samples] [warm-up samples]      (default 200 and 10, of each kind)
#include "bench/win/ProbeClock.h"
#include "keyboard/KeyboardModel.h"
#include "tests/e2e/E2ESupport.h"

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

using e2e::kFrameClass;
using e2e::kTrayExit;
using e2e::kViewClass;
constexpr int kLetterKeyA = 1; // the tap character of letter grid key 1
constexpr DWORD kCharTimeoutMs = 2000;

// The program typed into: a window with an edit control, run by its own thread so that its
// messages are taken while the main thread sends input and waits. The edit control is
// subclassed to stamp each WM_CHAR 'a' as it arrives, before the control handles it.
class StampingTarget {
public:
    StampingTarget() : arrived_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
        HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] { Run(ready); });
        ::WaitForSingleObject(ready, 10000);
        ::CloseHandle(ready);
    }
    ~StampingTarget() {
        if (frame_)
            ::PostMessageW(frame_, WM_CLOSE, 0, 0);
        thread_.join();
        ::CloseHandle(arrived_);
    }
    StampingTarget(const StampingTarget&) = delete;
    StampingTarget& operator=(const StampingTarget&) = delete;

    HWND Frame() const { return frame_; }
    // Forgets an earlier character; call right before the input that types the next one.
    void Expect() { ::ResetEvent(arrived_); }
    // The arrival time of the next 'a', or 0 when none came in time.
    LONGLONG WaitForA() const {
        return ::WaitForSingleObject(arrived_, kCharTimeoutMs) == WAIT_OBJECT_0 ? stamp_.load() : 0;
    }
    int OtherCharacters() const { return others_.load(); }
    // The virtual key of the last key-down that reached the edit control.
    WPARAM LastKeyDown() const { return lastKeyDown_.load(); }

private:
    void Run(HANDLE ready) {
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"GWTapLatencyTarget";
        ::RegisterClassW(&wc);
        HWND frame =
            ::CreateWindowExW(0, wc.lpszClassName, L"Tap latency target", WS_OVERLAPPEDWINDOW, 40,
                              40, 480, 200, nullptr, nullptr, instance, nullptr);
        HWND edit = ::CreateWindowExW(0, L"EDIT", L"",
                                      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                      480, 200, frame, nullptr, instance, nullptr);
        ::SetWindowSubclass(edit, EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
        ::SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(edit));
        ::ShowWindow(frame, SW_SHOW);
        ::SetForegroundWindow(frame);
        ::SetFocus(edit);
        frame_ = frame;
        ::SetEvent(ready);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        HWND edit = reinterpret_cast<HWND>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_SIZE:
            if (edit)
                ::MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_SETFOCUS:
            if (edit)
                ::SetFocus(edit);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
    }

    static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
        auto* self = reinterpret_cast<StampingTarget*>(data);
        if (message == WM_KEYDOWN)
            self->lastKeyDown_ = wParam;
        if (message == WM_CHAR) {
            if (wParam == L'a') {
                self->stamp_ = probe::Now();
                ::SetEvent(self->arrived_);
            } else {
                ++self->others_;
            }
        }
        return ::DefSubclassProc(edit, message, wParam, lParam);
    }

    HANDLE arrived_;
    std::atomic<LONGLONG> stamp_{0};
    std::atomic<int> others_{0};
    std::atomic<WPARAM> lastKeyDown_{0};
    std::atomic<HWND> frame_{nullptr};
    std::thread thread_;
};

// The keyboard program, started from the install folder next to this program.
class RunningKeyboard {
public:
    explicit RunningKeyboard(const std::wstring& folder)
        : process_(folder + L"\\Glyphwell.exe", folder) {
        if (!process_.Started())
            return;
        frame_ = process_.WaitForWindow(kFrameClass, 10000);
        if (frame_)
            view_ = ::FindWindowExW(frame_, nullptr, kViewClass, nullptr);
    }
    ~RunningKeyboard() {
        if (frame_) {
            ::PostMessageW(frame_, WM_COMMAND, kTrayExit, 0);
            process_.WaitForExit(10000);
        }
    }
    RunningKeyboard(const RunningKeyboard&) = delete;
    RunningKeyboard& operator=(const RunningKeyboard&) = delete;

    HWND View() const { return view_; }

private:
    e2e::Process process_;
    HWND frame_ = nullptr;
    HWND view_ = nullptr;
};

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

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
    target.Expect();
    const LONGLONG sent = probe::Now();
    e2e::Mouse::Up(key);
    const LONGLONG arrived = target.WaitForA();
    return arrived ? probe::TicksToMs(arrived - sent) : -1.0;
}

double BareSample(StampingTarget& target, bool unicode) {
    target.Expect();
    const LONGLONG sent = probe::Now();
    SendBareA(unicode);
    const LONGLONG arrived = target.WaitForA();
    return arrived ? probe::TicksToMs(arrived - sent) : -1.0;
}

// The value below which the given share of the samples lies (nearest rank).
double Percentile(std::vector<double> samples, double share) {
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * samples.size()));
    return samples[std::max<std::size_t>(rank, 1) - 1];
}

void PrintRow(const char* name, const std::vector<double>& samples) {
    std::printf("| %-31s | %9.3f | %9.3f |\n", name, Percentile(samples, 0.5),
                Percentile(samples, 0.9));
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

    std::vector<double> tap, bare;
    bool unicode = false;
    for (int i = 0; i < warmUp + samples; ++i) {
        // Alternate which kind goes first, so neither always follows the other. The first tap
        // shows which kind of key event the baseline has to send.
        double tapMs = 0, bareMs = 0;
        if (i % 2 == 0) {
            tapMs = TapSample(target, keyA);
            if (i == 0)
                unicode = target.LastKeyDown() == VK_PACKET;
            bareMs = BareSample(target, unicode);
        } else {
            bareMs = BareSample(target, unicode);
            tapMs = TapSample(target, keyA);
        }
        if (tapMs < 0)
            return Fail("a tap on the 'a' key typed no 'a'");
        if (bareMs < 0)
            return Fail("a bare SendInput of 'a' typed no 'a'");
        if (i >= warmUp) {
            tap.push_back(tapMs);
            bare.push_back(bareMs);
        }
        ::Sleep(20); // both programs idle before the next pair
    }
    if (target.OtherCharacters() != 0)
        return Fail("characters other than 'a' arrived");

    const double ratio = Percentile(tap, 0.5) / Percentile(bare, 0.5);
    std::printf("Tap latency: pen-up (or SendInput) to WM_CHAR, %d samples each, %d warm-up "
                "dropped\n\n",
                samples, warmUp);
    std::printf("| %-31s | %9s | %9s |\n", "path", "median ms", "p90 ms");
    std::printf("|---------------------------------|-----------|-----------|\n");
    PrintRow("tap on the 'a' key", tap);
    PrintRow(unicode ? "bare SendInput of 'a' (Unicode)" : "bare SendInput of 'a' (key)", bare);
    std::printf("\nratio of medians (tap / bare): %.2f\n", ratio);
    return 0;
}
