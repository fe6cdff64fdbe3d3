// Random numbers for the effects: the C library generator scaled to 0..32767,
// the range their formulas were written for (RAND_MAX where the show began).
// Each value costs exactly one rand() call, and every seeding of the show
// goes through here, so the seed and the count of values drawn since pin
// down the generator's position: a show state carries the pair and puts
// the generator back by drawing as many again.
#pragma once

#include <cstdint>
#include <cstdlib>

struct RandomPosition {
    unsigned seed = 1;  // the C library's own start
    std::uint64_t drawn = 0;
};

inline RandomPosition& randomPosition() {
    static RandomPosition position;
    return position;
}

inline void seedShowRandom(unsigned seed) {
    std::srand(seed);
    randomPosition() = {seed, 0};
}

inline int showRandom() {
    ++randomPosition().drawn;
    return std::rand() / (RAND_MAX / 32768 + 1);
}

// Puts the generator where `saved` says: seeded, then as many values drawn.
inline void setRandomPosition(const RandomPosition& saved) {
    seedShowRandom(saved.seed);
    for (std::uint64_t i = 0; i < saved.drawn; ++i) std::rand();
    randomPosition().drawn = saved.drawn;
}
