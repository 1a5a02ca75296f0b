// How fast macros answer: from the WM_CHAR of a key's last character in the program typed into
// to the macro content window shown, next to a bare wake-up (a message posted to a window of
// another thread at the same WM_CHAR, which shows a popup); and how fast a long macro is typed
// out after its hot key, next to a bare SendInput of the same characters, one event a call.
// Starts Glyphwell.exe from the install folder next to this program with a macro file of its
// own and prints medians and 90th percentiles.
//
//   GWMacroProbe [samples] [long macro samples]      (default 200 and 10, of each kind)
#include "bench/win/ProbeSupport.h"
#include "macros/MacroFile.h"
#include "macros/MacroStore.h"

#include <cstdlib>
#include <string>

namespace {

using probe::Percentile;
using probe::PrintRow;
using probe::StampingTarget;

constexpr wchar_t kContentClass[] = L"GlyphwellMacroContent";
constexpr DWORD kHotKey = (gw::hotkey::kShift << 16) | 'Q';
constexpr std::size_t kLongLength = 2000;

// Letters and spaces, ending in the one '.' that tells the end has arrived.
std::u16string LongContent() {
    std::u16string text;
    while (text.size() < kLongLength - 1)
        text += u"a long macro typed out ";
    text.resize(kLongLength - 1);
    return text + u".";
}

void SendKey(WORD key, DWORD flags = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

void TypeKeys(const char* keys) {
    for (const char* key = keys; *key; ++key) {
        SendKey(static_cast<WORD>(*key));
        SendKey(static_cast<WORD>(*key), KEYEVENTF_KEYUP);
    }
}

// The bare wake-up: a popup on a thread of its own, shown when the arrival is posted to it.
class BareWakeUp {
public:
    BareWakeUp() {
        HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"GWBareWakeUp";
            ::RegisterClassW(&wc);
            window_ =
                ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP,
                                  600, 10, 200, 20, nullptr, nullptr, wc.hInstance, nullptr);
            ::SetEvent(ready);
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
                ::DispatchMessageW(&msg);
        });
        ::WaitForSingleObject(ready, 10000);
        ::CloseHandle(ready);
    }
    ~BareWakeUp() {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == StampingTarget::kArrivalMessage) {
            ::ShowWindow(window, SW_SHOWNOACTIVATE);
            return 0;
        }
        if (message == WM_DESTROY)
            ::PostQuitMessage(0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// Milliseconds from the stamped WM_CHAR 'w' to the window shown, or a negative value.
double ShownAfter(StampingTarget& target, HWND window) {
    const LONGLONG typed = target.WaitForExpected();
    if (!typed)
        return -1.0;
    const LONGLONG deadline =
        probe::Now() + static_cast<LONGLONG>(2.0 / probe::TicksToMs(1) * 1000);
    while (!::IsWindowVisible(window)) {
        if (probe::Now() > deadline)
            return -1.0;
    }
    return probe::TicksToMs(probe::Now() - typed);
}

double KeySample(StampingTarget& target, HWND content) {
    TypeKeys(" BT");
    target.Expect(L'w');
    TypeKeys("W");
    const double ms = ShownAfter(target, content);
    TypeKeys(" ");
    e2e::WaitUntil([&] { return !::IsWindowVisible(content); }, 2000);
    return ms;
}

double WakeUpSample(StampingTarget& target, const BareWakeUp& bare) {
    TypeKeys(" BT");
    target.Expect(L'w', bare.Window());
    TypeKeys("W");
    const double ms = ShownAfter(target, bare.Window());
    ::ShowWindow(bare.Window(), SW_HIDE);
    TypeKeys(" ");
    return ms;
}

// Milliseconds from the first input to the arrival of the long content's last character.
double LongMacroSample(StampingTarget& target, bool bare) {
    target.ClearText();
    if (!bare) {
        TypeKeys(" LM");
        ::Sleep(100); // the keyboard has seen the key
    }
    target.Expect(L'.');
    const LONGLONG sent = probe::Now();
    if (bare) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        for (char16_t ch : LongContent()) {
            input.ki.wScan = ch;
            input.ki.dwFlags = KEYEVENTF_UNICODE;
            ::SendInput(1, &input, sizeof(input));
            input.ki.dwFlags |= KEYEVENTF_KEYUP;
            ::SendInput(1, &input, sizeof(input));
        }
    } else {
        SendKey(VK_SHIFT);
        SendKey('Q');
        SendKey('Q', KEYEVENTF_KEYUP);
        SendKey(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    const LONGLONG arrived = target.WaitForExpected(60000);
    return arrived ? probe::TicksToMs(arrived - sent) : -1.0;
}

int Fail(const char* why) {
    std::fprintf(stderr, "GWMacroProbe: %s\n", why);
    return 1;
}

bool WriteMacroFile(const std::wstring& path) {
    return e2e::WriteFileBytes(
        path, gw::WriteMacroFile({{u"btw", u"by the way"}, {u"lm", LongContent()}}));
}

} // namespace

int main(int argc, char** argv) {
    const int samples = argc > 1 ? std::atoi(argv[1]) : 200;
    const int longSamples = argc > 2 ? std::atoi(argv[2]) : 10;
    if (samples < 1 || longSamples < 1)
        return Fail("usage: GWMacroProbe [samples >= 1] [long macro samples >= 1]");

    e2e::ResetSettings();
    const std::wstring macroFile = probe::ProgramFolder() + L"\\macro-probe.msb";
    if (!WriteMacroFile(macroFile))
        return Fail("cannot write the macro file");
    e2e::WriteStringSetting(L"CurrentMacroFilename", macroFile);
    e2e::WriteSetting(L"MacroHotKey", kHotKey);
    StampingTarget target;
    BareWakeUp bare;
    if (!target.Frame() || !bare.Window())
        return Fail("the probe's windows did not come up");
    probe::RunningKeyboard keyboard(probe::ProgramFolder() + L"\\Glyphwell");
    HWND content = ::FindWindowW(kContentClass, nullptr);
    if (!keyboard.View() || !content)
        return Fail("Glyphwell.exe did not show its keyboard");
    if (!e2e::WaitUntil([&] { return ::GetForegroundWindow() == target.Frame(); }, 5000))
        return Fail("the target window did not stay in the foreground");
    ::Sleep(300);

    std::vector<double> shown, wakeUp;
    for (int i = 0; i < samples + 10; ++i) {
        const double a = i % 2 ? KeySample(target, content) : WakeUpSample(target, bare);
        const double b = i % 2 ? WakeUpSample(target, bare) : KeySample(target, content);
        const double keyMs = i % 2 ? a : b;
        const double bareMs = i % 2 ? b : a;
        if (keyMs < 0)
            return Fail("the content window did not show for a typed key");
        if (bareMs < 0)
            return Fail("the bare wake-up did not show its window");
        if (i >= 10) {
            shown.push_back(keyMs);
            wakeUp.push_back(bareMs);
        }
    }
    std::vector<double> typedOut, bareTyped;
    for (int i = 0; i < longSamples; ++i) {
        typedOut.push_back(LongMacroSample(target, false));
        bareTyped.push_back(LongMacroSample(target, true));
        if (typedOut.back() < 0 || bareTyped.back() < 0)
            return Fail("the long macro did not arrive");
    }
    ::DeleteFileW(macroFile.c_str());

    std::printf("Macros: %d samples of the match shown, %zu-character macro typed %d times\n\n",
                samples, kLongLength, longSamples);
    std::printf("| %-31s | %9s | %9s |\n", "path", "median ms", "p90 ms");
    std::printf("|---------------------------------|-----------|-----------|\n");
    PrintRow("key's WM_CHAR to content shown", shown);
    PrintRow("bare wake-up to window shown", wakeUp);
    PrintRow("long macro, hot key to its end", typedOut);
    PrintRow("bare SendInput of its characters", bareTyped);
    std::printf("\nratio of medians, match shown / bare wake-up: %.2f\n",
                Percentile(shown, 0.5) / Percentile(wakeUp, 0.5));
    std::printf("ratio of medians, long macro / bare SendInput: %.2f\n",
                Percentile(typedOut, 0.5) / Percentile(bareTyped, 0.5));
    return 0;
}
