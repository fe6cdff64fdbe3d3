#include "audio/AudioStreamState.h"

#include <algorithm>
#include <cstring>

namespace audio {

std::vector<AudioStream*>& openStreams() {
    static std::vector<AudioStream*> streams;
    return streams;
}

void playFrames(AudioStream& stream, std::int16_t* out, std::uint32_t wanted) {
    const std::size_t channels = static_cast<std::size_t>(stream.channels);
    const StreamingTrack::Progress ready = stream.track->progress();
    const std::uint32_t frames = ready.frames;

    std::uint32_t count = 0;
    if (!ready.whole) {
        // No further than the decoded frames: should playback catch up, it
        // waits in silence rather than skip music, and the cues stay with
        // what is heard.
        count = std::min(wanted, frames - stream.position);
    } else if (frames > 0 && !stream.finished) {
        count = stream.loop ? wanted : std::min(wanted, frames - stream.position);
    }

    if (const SyncCallback sync = stream.sync.load()) {
        const CueScheduler& scheduler = ready.whole ? stream.wholeScheduler : stream.scheduler;
        scheduler.forEachPassed(stream.position, count, [&](std::size_t index) {
            const WavCue& cue = stream.track->cues()[index];
            sync(cue.labelled ? cue.label.c_str() : nullptr);
            if (stream.passed != nullptr) (*stream.passed)(cue.labelled ? cue.label.c_str() : "");
        });
    }

    const int volume = stream.volume.load(std::memory_order_relaxed);
    const std::int16_t* samples = stream.track->samples();
    std::uint32_t position = stream.position;
    std::int16_t* to = out;
    for (std::uint32_t left = count; left > 0;) {
        const std::uint32_t run = std::min(left, frames - position);
        if (to != nullptr) {
            const std::int16_t* from = samples + position * channels;
            if (volume == 255) {
                std::memcpy(to, from, run * channels * sizeof(std::int16_t));
            } else {
                for (std::size_t i = 0; i < run * channels; ++i) {
                    to[i] = static_cast<std::int16_t>(from[i] * volume / 255);
                }
            }
            to += run * channels;
        }
        left -= run;
        position += run;
        if (ready.whole && position == frames) {
            position = 0;
            if (!stream.loop) stream.finished = true;
        }
    }
    if (to != nullptr) std::fill(to, out + static_cast<std::size_t>(wanted) * channels, std::int16_t{0});
    stream.position = position;
    stream.framesPlayed.fetch_add(count, std::memory_order_relaxed);
}

}  // namespace audio
