#include "platform/OfflineClock.h"

#include "platform/AudioStream.h"
#include "platform/KeyState.h"

namespace platform {

OfflineClock::OfflineClock() {
    setSoundOutput(SoundOutput::Offline);
    setTickSource([this] { return ticks; });
    setSpaceKeySource([] { return false; });
}

OfflineClock::~OfflineClock() {
    setTickSource({});
    setSpaceKeySource({});
    setSoundOutput(SoundOutput::Device);
}

std::vector<std::string> OfflineClock::advance(std::uint32_t periodMs) {
    std::vector<std::string> passed;
    advanceOfflineStreams(periodMs, [&](const char* name) { passed.emplace_back(name); });
    ticks += periodMs;
    ++frames;
    return passed;
}

}  // namespace platform
