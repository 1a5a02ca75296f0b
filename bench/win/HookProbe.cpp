// What the focus hook library costs the programs it is loaded into, and what draining its ring
// costs the keyboard. In one run, with the library of the install folder and a real shared area:
//   - a hook procedure that only passes the message on (CallNextHookEx): the baseline;
//   - the library's GetMessageHookProc for a message it does not record;
//   - the same for a message it records (written into the ring, the keyboard woken);
//   - taking a full ring out and handing each event to a listener, as the keyboard's idle
//     processing does.
// Prints the median of several rounds for each, and the ratios to the baseline.
//
//   GWHookProbe [calls per round] [rounds]      (default 2000 and 9)
#include "bench/win/ProbeClock.h"
#include "framework/win/ProcAddress.h"
#include "hook/HookRing.h"
#include "hook/win/HookClientApp.h"
#include "tests/e2e/E2ESupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

LRESULT CALLBACK PassOnlyHook(int code, WPARAM wParam, LPARAM lParam) {
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class ProbeApp : public CHookClientApp {
public:
    using CHookClientApp::CreateSharedArea;
    void Drain() { OnIdle(0); }
};

class CountingListener : public CHookEventListener {
public:
    void OnHookEvent(const gw::HookEvent&) override { ++count; }
    long count = 0;
};

// Drops the wake-ups the recorded calls posted, so the next round starts with an empty queue.
void DropPostedMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// Nanoseconds per call of the hook procedure with the message, median of the rounds.
double NsPerCall(HOOKPROC proc, MSG msg, int calls, int rounds, ProbeApp& app) {
    std::vector<double> perCall;
    for (int round = 0; round < rounds; ++round) {
        const LONGLONG start = probe::Now();
        for (int i = 0; i < calls; ++i)
            proc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
        perCall.push_back(probe::TicksToNs(probe::Now() - start) / calls);
        app.Drain(); // the ring never overflows between rounds
        DropPostedMessages();
    }
    return Median(perCall);
}

} // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;

    ::SetDllDirectoryW(e2e::FullPath(L"Glyphwell").c_str());
    ProbeApp app;
    if (!app.CreateSharedArea()) {
        std::fprintf(stderr, "the shared area could not be created\n");
        return 1;
    }
    HMODULE library = ::LoadLibraryW(L"GWOKHOOK.DLL");
    const auto hookProc = ProcAddress<HOOKPROC>(library, "GetMessageHookProc");
    if (!hookProc) {
        std::fprintf(stderr, "GWOKHOOK.DLL could not be loaded from the install folder\n");
        return 1;
    }
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    app.mainWindow = window;
    app.SharedArea().SetMainWindow(window);
    CountingListener listener;
    app.AddHookEventListener(&listener);

    MSG unrecorded{window, WM_MOUSEMOVE, 0, 0, 1, {}};
    MSG recorded{window, WM_KEYUP, 'A', 0, 1, {}};
    // Interleaved, so that a change of the machine's load falls on all three alike.
    std::vector<double> bare, skipped, written;
    for (int i = 0; i < 3; ++i) {
        bare.push_back(NsPerCall(PassOnlyHook, unrecorded, calls, rounds, app));
        skipped.push_back(NsPerCall(hookProc, unrecorded, calls, rounds, app));
        written.push_back(NsPerCall(hookProc, recorded, calls, rounds, app));
    }
    const double bareNs = Median(bare);
    const double skippedNs = Median(skipped);
    const double writtenNs = Median(written);

    // A full ring: one record less than its capacity, as the writer leaves it before overflow.
    std::vector<double> drainMs;
    for (int round = 0; round < 5; ++round) {
        for (std::uint32_t i = 0; i + 1 < gw::kHookRingCapacity; ++i)
            hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&recorded));
        DropPostedMessages();
        listener.count = 0;
        const LONGLONG start = probe::Now();
        app.Drain();
        drainMs.push_back(probe::TicksToMs(probe::Now() - start));
        if (listener.count != static_cast<long>(gw::kHookRingCapacity - 1)) {
            std::fprintf(stderr, "the drain handed out %ld events\n", listener.count);
            return 1;
        }
    }

    std::printf("hook procedure, median ns per call (%d calls x %d rounds x 3):\n", calls, rounds);
    std::printf("  pass-only hook (baseline)     %8.1f ns\n", bareNs);
    std::printf("  library, message not recorded %8.1f ns   %.2fx baseline (goal <= 1.1x)\n",
                skippedNs, skippedNs / bareNs);
    std::printf("  library, message recorded     %8.1f ns   %.2fx baseline\n", writtenNs,
                writtenNs / bareNs);
    std::printf("full ring of %u events drained and dispatched: median %.2f ms (goal <= 10 ms)\n",
                gw::kHookRingCapacity - 1, Median(drainMs));
    ::DestroyWindow(window);
    return 0;
}
