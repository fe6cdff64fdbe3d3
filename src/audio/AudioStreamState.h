// What an open stream is, whichever output plays it: the decoded track, its
// cue schedules, where playback stands, and the one routine that plays it on,
// so the device's callback and the offline clock deliver the same cues.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "audio/AudioStream.h"
#include "audio/CueScheduler.h"
#include "audio/StreamingTrack.h"

namespace audio {

// A device of the output backend (SDL2's own number on the desktop).
using DeviceId = std::uint32_t;

class AudioStream {
public:
    // The decoding thread first: it may still be writing wholeScheduler.
    ~AudioStream() { track.reset(); }

    std::unique_ptr<StreamingTrack> track;
    int channels = 0;
    // Over the frames the header promises while the track is decoded, then
    // over those it really has: cues past the end sit on the last frame.
    CueScheduler scheduler;
    CueScheduler wholeScheduler;  // written before the track says it is whole
    bool loop = true;

    DeviceId device = 0;  // 0: none
    bool paused = true;   // as last asked by the main thread

    // Touched by the audio callback; from the main thread only with the device locked.
    std::uint32_t position = 0;
    bool finished = false;

    std::atomic<int> volume{255};
    std::atomic<SyncCallback> sync{nullptr};
    std::atomic<std::uint64_t> framesPlayed{0};

    // No device paces it (the offline output, or its device went away):
    // advanceOfflineStreams() moves it, from the time played so far.
    bool ownClock = false;
    bool offline = false;  // opened on the offline output: never had a device
    std::uint64_t offlineMs = 0;
    const std::function<void(const char*)>* passed = nullptr;
};

// Plays `wanted` frames from the stream's position: the cues they pass go to
// the sync callback as the buffer that holds their samples is handed over,
// and the samples (scaled to the volume) go to `out` when there is one, with
// silence after a one-shot stream has ended.
void playFrames(AudioStream& stream, std::int16_t* out, std::uint32_t wanted);

// Every stream open now, in the order they were opened.
std::vector<AudioStream*>& openStreams();

}  // namespace audio
