// Caps the frame rate by spinning on the tick count until a fixed period has
// passed since the previous release. Motion in the show is counted in frames,
// so this cap is also what sets the show's pace on a fast machine.
#pragma once

#include <cstdint>

// The show's frame rate: every motion step was tuned for it.
constexpr std::int32_t kShowFrameRate = 80;
constexpr std::uint32_t kShowFramePeriodMs = 1000 / kShowFrameRate;

class FrameLimiter {
public:
    // The period is 1000 / framesPerSecond truncated: 80 fps gives 12 ms.
    // `lastRelease` is the tick count at the last release of any limiter:
    // one value that every limiter of a show shares, 0 at start, so the
    // first frame is never held back.
    FrameLimiter(std::int32_t framesPerSecond, std::uint32_t& lastRelease);

    void setFrameRate(std::int32_t framesPerSecond);
    std::int32_t getPeriodMs() const { return periodMs; }

    // True while the current frame must still wait; false once the period has
    // passed, in which case the release time is recorded.
    bool mustWait();

private:
    std::int32_t periodMs;
    std::uint32_t& lastRelease;
};
