#include "platform/Ticks.h"

#include <chrono>
#include <utility>

namespace platform {
namespace {

std::uint32_t systemTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<std::uint32_t>(ms);  // keep the low 32 bits: the count wraps
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
