#pragma once
// What the timing probes share: a program to type into that stamps the arrival of characters,
// the keyboard started from the install folder, and percentiles of the samples.
#include "bench/win/ProbeClock.h"
#include "tests/e2e/E2ESupport.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace probe {

using e2e::kFrameClass;
using e2e::kTrayExit;
using e2e::kViewClass;
constexpr DWORD kCharTimeoutMs = 2000;

// The program typed into: a window with an edit control, run by its own thread so that its
// messages are taken while the main thread sends input and waits. The edit control is
// subclassed to stamp the expected character as it arrives, before the control handles it.
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
    HWND Edit() const { return edit_; }
    // Forgets an earlier character; call right before the input that types the next expected
    // one. With a window given, the arrival is also posted to it as kArrivalMessage.
    void Expect(wchar_t expected, HWND notify = nullptr) {
        expected_ = expected;
        notify_ = notify;
        ::ResetEvent(arrived_);
    }
    // The arrival time of the expected character, or 0 when it did not come in time.
    LONGLONG WaitForExpected(DWORD timeoutMs = kCharTimeoutMs) const {
        return ::WaitForSingleObject(arrived_, timeoutMs) == WAIT_OBJECT_0 ? stamp_.load() : 0;
    }
    // Characters that arrived while another one was expected.
    int OtherCharacters() const { return others_.load(); }
    void ClearText() const { ::SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"")); }
    static constexpr UINT kArrivalMessage = WM_APP + 1;
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
        edit_ = edit;
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
            if (wParam == self->expected_) {
                self->stamp_ = probe::Now();
                if (HWND notify = self->notify_)
                    ::PostMessageW(notify, kArrivalMessage, 0, 0);
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
    std::atomic<HWND> edit_{nullptr};
    std::atomic<wchar_t> expected_{L'a'};
    std::atomic<HWND> notify_{nullptr};
    std::thread thread_;
};

// The keyboard program, started from the install folder next to this program.
// The process's top-level window of the class once it is visible, polled every millisecond;
// with the milliseconds from the given start.
inline HWND WaitUntilShown(const e2e::Process& process, const wchar_t* className, LONGLONG started,
                           double& ms) {
    const LONGLONG deadline = started + static_cast<LONGLONG>(10000 / TicksToMs(1));
    while (Now() < deadline) {
        HWND found = ::FindWindowW(className, nullptr);
        DWORD owner = 0;
        if (found)
            ::GetWindowThreadProcessId(found, &owner);
        if (found && owner == process.Id() && ::IsWindowVisible(found)) {
            ms = TicksToMs(Now() - started);
            return found;
        }
        ::Sleep(1);
    }
    return nullptr;
}

// A started program with the time it took to show its window.
class ShownProgram {
public:
    ShownProgram(const std::wstring& program, const std::wstring& folder,
                 const wchar_t* windowClass, const std::wstring& arguments = L"")
        : started_(Now()), process_(program, folder, arguments) {
        if (process_.Started())
            window_ = WaitUntilShown(process_, windowClass, started_, startMs_);
    }
    HWND Window() const { return window_; }
    double StartMs() const { return startMs_; }
    const e2e::Process& Process() const { return process_; }
    // Private bytes (committed memory of its own; Wine tells the pagefile usage where it does not
    // know them) and the working set, or false.
    bool Memory(SIZE_T& privateBytes, SIZE_T& workingSet) const {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        if (!::GetProcessMemoryInfo(process_.Handle(),
                                    reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                    sizeof(counters)))
            return false;
        privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
        workingSet = counters.WorkingSetSize;
        return true;
    }

private:
    LONGLONG started_;
    e2e::Process process_;
    HWND window_ = nullptr;
    double startMs_ = 0;
};

// The keyboard program, started from the install folder next to this program.
class RunningKeyboard : public ShownProgram {
public:
    explicit RunningKeyboard(const std::wstring& folder)
        : ShownProgram(folder + L"\\Glyphwell.exe", folder, kFrameClass) {
        if (Window())
            view_ = ::FindWindowExW(Window(), nullptr, kViewClass, nullptr);
    }
    ~RunningKeyboard() {
        if (Window()) {
            ::PostMessageW(Window(), WM_COMMAND, kTrayExit, 0);
            Process().WaitForExit(10000);
        }
    }
    RunningKeyboard(const RunningKeyboard&) = delete;
    RunningKeyboard& operator=(const RunningKeyboard&) = delete;

    HWND View() const { return view_; }

private:
    HWND view_ = nullptr;
};

inline std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

// The value below which the given share of the samples lies (nearest rank).
inline double Percentile(std::vector<double> samples, double share) {
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * samples.size()));
    return samples[std::max<std::size_t>(rank, 1) - 1];
}

inline void PrintRow(const char* name, const std::vector<double>& samples) {
    std::printf("| %-31s | %9.3f | %9.3f |\n", name, Percentile(samples, 0.5),
                Percentile(samples, 0.9));
}

} // namespace probe
