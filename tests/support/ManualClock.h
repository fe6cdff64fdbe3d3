// A tick source the test sets by hand; installs itself on construction and
// restores the system clock when it goes out of scope.
#pragma once

#include <cstdint>

#include "platform/Ticks.h"

namespace testsupport {

class ManualClock {
public:
    explicit ManualClock(std::uint32_t start = 0) : now_(start) {
        platform::setTickSource([this] { return now_; });
    }
    ~ManualClock() { platform::setTickSource({}); }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void set(std::uint32_t ticks) { now_ = ticks; }
    void advance(std::uint32_t ms) { now_ += ms; }
    std::uint32_t now() const { return now_; }

private:
    std::uint32_t now_;
};

}  // namespace testsupport
