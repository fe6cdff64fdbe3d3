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

struct Chapter;

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
