#pragma once
// The engine's one-shot timers as the portable logic sees them. The Windows implementation runs
// each as a timer thread that delivers a message to the engine window; tests use a fake.
#include <cstdint>

namespace gw {

enum class EngineTimer { KeyDelay, Repeat, Idle };

class TimerPort {
public:
    virtual ~TimerPort() = default;
    // Starts the timer anew (a running one of the same kind is replaced).
    virtual void Start(EngineTimer timer, std::uint32_t intervalMs) = 0;
    virtual void Stop(EngineTimer timer) = 0;
    virtual bool IsRunning(EngineTimer timer) const = 0;
};

} // namespace gw
