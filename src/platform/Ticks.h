// The show's millisecond clock: a 32-bit unsigned count that wraps, like the
// tick count the frame limiter and the timers were written against. Tests and
// tools replace the source to drive time frame by frame.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

using TickSource = std::function<std::uint32_t()>;

// Milliseconds from an arbitrary epoch, wrapping at 2^32.
std::uint32_t tickCount();

// Replaces the clock; an empty source restores the system's monotonic clock.
void setTickSource(TickSource source);

}  // namespace platform
