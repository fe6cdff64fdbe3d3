// A WAV track decoded while it plays: the start at once, the rest on a thread
// of its own, so that a long track does not hold up start-up. Any thread may
// read the frames decoded so far; the cue points are known from the start,
// the track's length once its last frame is decoded.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "audio/WavFile.h"

namespace audio {

class StreamingTrack {
public:
    struct Progress {
        std::uint32_t frames = 0;  // decoded, ready to be read
        bool whole = false;        // `frames` is the whole track
    };
    using WholeHook = std::function<void(const WavSound& track)>;

    // Opens the WAV file at `path` (a real path) or its cue sheet (CueSheet.h:
    // the track whole at once, in silence), decodes its first `firstMs`
    // milliseconds (all of a shorter file) and leaves the rest to a thread of
    // its own. Null when the file cannot be read or decoded. Of more than two
    // channels only the front pair is kept. `whenWhole` runs once the last
    // frame is decoded, before progress() tells so: on the decoding thread,
    // or on this one when the file is done at once.
    static std::unique_ptr<StreamingTrack> open(const std::string& path, std::uint32_t firstMs,
                                                WholeHook whenWhole = {});
    // Stops the decoding where it is and waits until its thread is done
    // with the track.
    ~StreamingTrack();
    StreamingTrack(const StreamingTrack&) = delete;
    StreamingTrack& operator=(const StreamingTrack&) = delete;

    int sampleRate() const { return sound.sampleRate; }
    int channels() const { return sound.channels; }
    const std::vector<WavCue>& cues() const { return sound.cues; }
    // The frames the header promises: the most the track can have.
    std::uint32_t promisedFrames() const { return capacity; }

    // On any thread: the frames that samples() holds so far.
    Progress progress() const;
    // Interleaved, channels() values a frame; only the first
    // progress().frames frames may be read while the track is decoded.
    const std::int16_t* samples() const { return base; }

    // Waits for the last frame and gives the whole track. Not for the thread
    // that plays it: it can wait as long as the decoding takes.
    const WavSound& whole();

private:
    struct Bytes;
    StreamingTrack();
    static std::unique_ptr<StreamingTrack> openCueSheet(std::unique_ptr<StreamingTrack> track,
                                                        const WholeHook& whenWhole);

    // Decodes until `limit` frames are there or the data ends (true).
    bool decodeUntil(std::uint32_t limit);
    void finish();
    void publish(std::uint32_t frames, bool whole);

    std::unique_ptr<Bytes> bytes;
    std::unique_ptr<WavReader> reader;
    WavSound sound;  // `samples` grows on the decoding thread, never past its first capacity
    const std::int16_t* base = nullptr;
    std::uint32_t capacity = 0;  // frames the header promises: more are not kept
    std::uint32_t decoded = 0;   // decoding thread only
    std::vector<std::int16_t> block;
    WholeHook whenWhole;

    std::atomic<std::uint64_t> published{0};  // frames, and bit 32 once whole
    std::atomic<bool> stopping{false};
    // Ready once the decoding thread has let go of the track. The thread is
    // detached: a process that ends before anyone waits owes it nothing.
    std::future<void> decoderDone;
};

}  // namespace audio
