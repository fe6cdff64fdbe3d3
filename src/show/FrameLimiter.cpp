#include "show/FrameLimiter.h"

#include "platform/Ticks.h"

namespace {
std::int32_t periodFor(std::int32_t framesPerSecond) { return static_cast<std::int32_t>(1000.0 / framesPerSecond); }
}  // namespace

FrameLimiter::FrameLimiter(std::int32_t framesPerSecond, std::uint32_t& lastRelease)
    : periodMs(periodFor(framesPerSecond)), lastRelease(lastRelease) {}

void FrameLimiter::setFrameRate(std::int32_t framesPerSecond) { periodMs = periodFor(framesPerSecond); }

bool FrameLimiter::mustWait() {
    // Unsigned difference: a wrap of the tick count still gives the true gap.
    const std::uint32_t elapsed = platform::tickCount() - lastRelease;
    if (elapsed < static_cast<std::uint32_t>(periodMs)) return true;
    lastRelease = platform::tickCount();
    return false;
}
