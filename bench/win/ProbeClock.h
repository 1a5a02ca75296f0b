#pragma once
// The clock of the timing probes: the performance counter, and its ticks in time units.
#include <windows.h>

namespace probe {

inline LONGLONG Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline double TicksToNs(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1e9 / static_cast<double>(frequency.QuadPart);
}

inline double TicksToMs(LONGLONG ticks) {
    return TicksToNs(ticks) / 1e6;
}

} // namespace probe
