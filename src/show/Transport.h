// What the player's keys do to the show, apart from any window: pause, step,
// seek by cue or by ten seconds, back to the start, and loop the cue span
// being watched. It moves a Show along its frames; the window, the keys and the
// pacing by the music are the live player's (Player.h).
#pragma once

#include <cstdint>

#include "show/Show.h"

enum class PlayerCommand {
    TogglePause,
    Step,  // one frame, while paused
    NextCue,
    PreviousCue,
    Forward,  // ten seconds
    Back,
    Home,
    ToggleLoop,
};

class Transport {
public:
    explicit Transport(Show& timeline) : timeline(timeline) {}

    // Carries out a command. Returns true when it moved the show elsewhere
    // than its next frame (the music must follow).
    bool command(PlayerCommand command);

    // Runs the next frame, drawn or not; a loop that reaches its end goes
    // back to its start first. Returns true when it did that.
    bool runFrame(bool drawn);

    bool paused() const { return isPaused; }
    bool looping() const { return loopEnd != 0; }
    std::uint64_t loopStartFrame() const { return loopStart; }
    std::uint64_t loopEndFrame() const { return loopEnd; }
    Show& show() { return timeline; }

private:
    // The frame last shown: where "now" is for the keys.
    std::uint64_t shownFrame() const;
    void seek(std::uint64_t frame);

    Show& timeline;
    bool isPaused = false;
    std::uint64_t loopStart = 0;
    std::uint64_t loopEnd = 0;  // 0: no loop
};
