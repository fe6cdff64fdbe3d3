#include "platform/Ticks.h"

#include <chrono>
#include <utility>

namespace platform {
namespace {

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
