#include "show/OfflineClock.h"

#include "audio/AudioStream.h"
#include "platform/KeyState.h"

OfflineClock::OfflineClock() {
    audio::setSoundOutput(audio::SoundOutput::Offline);
    platform::setTickSource([this] { return ticks; });
    platform::setSpaceKeySource([] { return false; });
}

OfflineClock::~OfflineClock() {
    platform::setTickSource({});
    platform::setSpaceKeySource({});
    audio::setSoundOutput(audio::SoundOutput::Device);
}

std::vector<std::string> OfflineClock::advance(std::uint32_t periodMs) {
    std::vector<std::string> passed;
    audio::advanceOfflineStreams(periodMs, [&](const char* name) { passed.emplace_back(name); });
    ticks += periodMs;
    ++frames;
    return passed;
}
