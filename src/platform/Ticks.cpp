#include "platform/Ticks.h"

#include <chrono>
#include <utility>

namespace platform {
namespace {

// The count starts a little above zero when the process first asks. Far
// enough from zero that a limiter whose last release is 0 never holds the
// first frame back; near enough that a 32-bit float, in which one scene keeps
// a tick value, stays exact to the millisecond for hours.
constexpr std::uint32_t kTickEpoch = 65536;

std::uint32_t systemTicks() {
    static const auto start = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return kTickEpoch + static_cast<std::uint32_t>(ms);  // keep the low 32 bits: the count wraps
}

TickSource& source() {
    static TickSource current;
    return current;
}

}  // namespace

std::uint32_t tickCount() {
    const TickSource& current = source();
    return current ? current() : systemTicks();
}

void setTickSource(TickSource replacement) { source() = std::move(replacement); }

}  // namespace platform
