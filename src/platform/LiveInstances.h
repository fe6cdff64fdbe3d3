// How many objects of a kind exist in the process right now. A kind whose
// objects must all be known to someone (every holder of the show's state is
// registered where the show is built) derives from this, so a test can hold
// that someone's list against what really exists.
#pragma once

#include <atomic>

namespace platform {

template <class Kind>
class LiveInstances {
public:
    static int live() { return count.load(); }

protected:
    LiveInstances() { ++count; }
    LiveInstances(const LiveInstances&) { ++count; }
    LiveInstances& operator=(const LiveInstances&) = default;
    ~LiveInstances() { --count; }

private:
    inline static std::atomic<int> count{0};
};

}  // namespace platform
