// The output without a device: streams move only when the show's clock
// advances them, and their cues arrive on the caller's thread. A stream whose
// device went away mid-show plays on here too.
#include "audio/AudioStream.h"
#include "audio/AudioStreamState.h"
#include "audio/DeviceOutput.h"

namespace audio {

void advanceOfflineStreams(std::uint32_t milliseconds, const std::function<void(const char*)>& passed) {
    for (AudioStream* stream : openStreams()) {
        device::letGoOfStoppedDevice(*stream);
        if (!stream->ownClock || stream->paused) continue;
        const auto rate = static_cast<std::uint64_t>(stream->track->sampleRate());
        const std::uint64_t before = stream->offlineMs * rate / 1000;
        stream->offlineMs += milliseconds;
        const std::uint64_t after = stream->offlineMs * rate / 1000;
        stream->passed = passed ? &passed : nullptr;
        playFrames(*stream, nullptr, static_cast<std::uint32_t>(after - before));
        stream->passed = nullptr;
    }
}

}  // namespace audio
