#pragma once
// The practice game's random source. The game draws every random number from one source that
// is handed in, so a test replays a game from a fixed seed.
#include <cstdint>

namespace gw {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // The next number in [0, 1).
    virtual double Next() = 0;
    // Called at every fall tick: a clock-driven source starts a new sequence there.
    virtual void Reseed() = 0;
};

// A 24-bit linear congruential sequence: the same numbers from the same seed on every compiler.
// Reseed does nothing, so a replay keeps its one sequence.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) { Seed(seed); }
    double Next() override {
        state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
        return static_cast<double>(state_) / 16777216.0;
    }
    void Reseed() override {}

protected:
    void Seed(std::uint32_t seed) { state_ = seed & 0xFFFFFFu; }

private:
    std::uint32_t state_ = 0;
};

} // namespace gw
