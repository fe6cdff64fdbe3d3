// The show's clock without the wall clock or a sound card. The tick count
// stands still while a frame is drawn and steps by one frame period between
// frames; the music moves on by the same span of samples, and the cues it
// passes become pending for the next frame to read, as the audio thread
// hands them over live. Every run over the same data is therefore the same,
// frame for frame, however long each frame takes to draw.
//
// While it exists it owns the tick source, the space bar (never down) and
// the sound output (no device is opened). Build it before the show's
// objects, so that every seed they take comes from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Ticks.h"

class OfflineClock {
public:
    OfflineClock();
    ~OfflineClock();
    OfflineClock(const OfflineClock&) = delete;
    OfflineClock& operator=(const OfflineClock&) = delete;

    // Ends the frame being drawn: plays `periodMs` of music and moves the
    // tick count on by as much. Returns the names of the cues passed, in
    // the order playback met them ("" for a cue without a name).
    std::vector<std::string> advance(std::uint32_t periodMs);

    std::uint64_t framesDone() const { return frames; }

    // Puts the clock at the start of frame `frame` (the music is the
    // caller's): the tick count it had there, each frame `periodMs` long.
    void setFrame(std::uint64_t frame, std::uint32_t periodMs) {
        frames = frame;
        ticks = platform::kTickEpoch + static_cast<std::uint32_t>(frame * periodMs);
    }

private:
    std::uint32_t ticks = platform::kTickEpoch;
    std::uint64_t frames = 0;
};
