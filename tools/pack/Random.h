// The pack's one source of random numbers, so every file is the same bytes on
// every run and with every standard library: PCG32, small and fast, with no
// pattern to see in a picture or hear in a noise. Each file draws from a
// generator of its own (PackContext::randomFor).
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed * kMultiplier + kIncrement) { next(); }

    std::uint32_t next() {
        const std::uint64_t old = state_;
        state_ = old * kMultiplier + kIncrement;
        const auto shifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rotation = static_cast<std::uint32_t>(old >> 59u);
        return (shifted >> rotation) | (shifted << ((32u - rotation) & 31u));
    }
    float uniform() { return static_cast<float>(next() >> 8) / 16777216.0f; }      // [0, 1)
    float range(float low, float high) { return low + (high - low) * uniform(); }  // [low, high)
    float bipolar() { return range(-1.0f, 1.0f); }                                 // noise for sound

private:
    static constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
    static constexpr std::uint64_t kIncrement = 1442695040888963407ULL;
    std::uint64_t state_;
};
