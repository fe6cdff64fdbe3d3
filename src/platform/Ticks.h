// The show's millisecond clock: a 32-bit unsigned count that wraps, like the
// tick count the frame limiter and the timers were written against. Tests and
// tools replace the source to drive time frame by frame.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

using TickSource = std::function<std::uint32_t()>;

// Where the count starts when the process first asks. Far enough from zero
// that a limiter whose last release is 0 never holds the first frame back;
// near enough that a 32-bit float, in which one scene keeps a tick value,
// stays exact to the millisecond for hours.
constexpr std::uint32_t kTickEpoch = 65536;

// Milliseconds from an arbitrary epoch, wrapping at 2^32.
std::uint32_t tickCount();

// Replaces the clock; an empty source restores the system's monotonic clock.
void setTickSource(TickSource source);

}  // namespace platform
