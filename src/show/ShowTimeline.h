// The show as a row of frames that can be moved along: one frame at a time,
// drawn or not, and to any frame through the states saved on the way. It
// runs on the offline clock, each frame 12 ms of show time and the music
// moved on by exactly that span of samples, so frame n is the same frame
// however it was reached. The capture, the player and the tests drive the
// show through it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "audio/WavFile.h"
#include "show/FrameTiming.h"
#include "show/ShowFrame.h"
#include "show/ShowState.h"

class OfflineClock;

// A cue of the track as a chapter of the show: the frame that reads it.
struct Chapter {
    std::string name;
    std::uint64_t frame;
};

class ShowTimeline {
public:
    // After init(): frame 0 is the show's first frame.
    ShowTimeline(const ShowLoop& loop, OfflineClock& clock);

    // The frame about to be drawn, and its show time.
    std::uint64_t frame() const { return current; }
    std::uint64_t showMs() const { return current * period; }
    std::uint32_t periodMs() const { return period; }
    // Samples of the track played before the current frame.
    std::uint64_t musicSample() const { return timing.sampleAt(current); }
    const FrameTiming& frameTiming() const { return timing; }

    // Every labelled cue of the track, in order, with the frame that reads it.
    const std::vector<Chapter>& chapters() const { return cues; }
    // The last chapter whose frame is at or before `frame`, or null.
    const Chapter* chapterAt(std::uint64_t frame) const;
    // The first chapter after `frame`, or null.
    const Chapter* chapterAfter(std::uint64_t frame) const;
    // The frame that reads the closing cue: running it ends the show.
    std::uint64_t closingFrame() const { return closing; }

    // Runs the current frame, drawn or with every fragment dropped (its
    // scene still moves on), then moves the clock on: the cues passed are
    // pending for the next frame. A state is saved first at every chapter
    // and once a second of show time.
    void runFrame(bool drawn);

    // Makes `target` the frame about to be drawn: from the nearest saved
    // state at or before it (or from here, when that is nearer), through
    // the frames between, undrawn. A target at or past the closing frame
    // runs into it, and the show ends.
    void seek(std::uint64_t target);

    std::size_t savedStates() const { return saved.size(); }
    std::size_t savedBytes() const;

private:
    void save();
    void restore(std::uint64_t frame);

    const ShowLoop& loop;
    OfflineClock& clock;
    const std::uint32_t period;
    const FrameTiming timing;
    std::vector<Chapter> cues;
    std::uint64_t closing;
    std::uint64_t current = 0;
    std::map<std::uint64_t, ShowState> saved;
};

// The chapters of a track for a clock of `periodMs` a frame: every labelled
// cue with the frame after the one during which playback passes it.
std::vector<Chapter> chaptersOf(const std::vector<WavCue>& cues, int sampleRate, std::uint32_t periodMs);
