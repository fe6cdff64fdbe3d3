// Where a stretch of the show starts and ends, as the user names it: a cue of
// the music ("pesants") or a time ("42", "42.5", "1:02.250"). Names are
// checked against the track alone, before anything else is built, so a
// wrong one costs nothing and the message can name the cues there are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/WavFile.h"

// A cue of the track as a chapter of the show: its name, its own time, and
// the frame that reads it (the one after the frame during which playback
// passes it).
struct Chapter {
    std::string name;
    std::uint64_t frame;
    std::uint64_t ms;  // the cue's own time, to the nearest millisecond
};

// The chapters of a track for a clock of `periodMs` a frame: every labelled
// cue, in order of its frame.
std::vector<Chapter> chaptersOf(const std::vector<WavCue>& cues, int sampleRate, std::uint32_t periodMs);

// Milliseconds for "S", "S.mmm", "M:SS" or "M:SS.mmm"; nothing for anything else.
std::optional<std::uint64_t> parseShowTime(const std::string& text);

// "m:ss.mmm".
std::string formatShowTime(std::uint64_t ms);

// The music's cue points and length, read without decoding its samples.
struct TrackCues {
    int sampleRate = 0;
    std::uint64_t frames = 0;
    std::vector<WavCue> cues;
    std::uint64_t lengthMs() const { return sampleRate > 0 ? frames * 1000 / sampleRate : 0; }
};
std::optional<TrackCues> readTrackCues(const std::string& dataName);

// The frame that a moment names: a cue's chapter, or the first frame at or
// after a time. Otherwise the one-line reason, naming the cues there are.
struct SpanPoint {
    std::uint64_t frame = 0;
    std::string error;  // empty when found
};
SpanPoint findSpanPoint(const std::string& moment, const std::vector<Chapter>& chapters, std::uint64_t trackMs,
                        std::uint32_t periodMs);

// The stretch of the show that --from and --to name, in frames of the show
// clock: the first frame shown, and the frame that is not (the one that
// would read the --to cue), if any.
struct ShowSpan {
    std::uint64_t start = 0;
    std::optional<std::uint64_t> stop;
};

// The one place --from and --to are read: against the track's cues, before
// anything else is built. A moment the music lacks, a span that runs
// backwards or holds no frame of the show (from the closing cue on) is one
// line naming the cues.
struct SpanOrError {
    ShowSpan span;
    std::string error;  // empty when the span is good
};
SpanOrError resolveSpan(const std::string& from, const std::string& to, const TrackCues& track, std::uint32_t periodMs);
