// What a video says about itself beside its picture and sound: its title,
// the stretch of the show it holds, and the music's cues as its chapters,
// so that a player lists them and seeks to each. ffmpeg takes all of it
// from a file of its own metadata format (FFMETADATA).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "show/ShowSpan.h"

struct VideoChapter {
    std::string title;
    std::uint64_t startMs = 0;  // from the video's first frame
    std::uint64_t endMs = 0;
};

struct VideoMetadata {
    std::string title;
    std::string comment;
    std::vector<VideoChapter> chapters;
};

// The chapters of a capture of `frames` show frames from show frame
// `start`: the first, from 0, is named after the cue in force there ("start"
// before the first cue); then one for each cue read by a frame after the
// first, from the cue's own time. Each ends where the next begins, the last
// with the video.
std::vector<VideoChapter> spanChapters(const std::vector<Chapter>& cues, std::uint64_t start, std::uint64_t frames,
                                       std::uint32_t periodMs);

// The metadata of a capture: the show's name, the span in words and times
// ("from scene3 at 0:37.212 to the closing cue at 0:51.204"; `from` and `to`
// as the user gave them, empty for the start and the closing cue) and its
// chapters.
VideoMetadata captureMetadata(const std::vector<Chapter>& cues, std::uint64_t start, std::uint64_t frames,
                              std::uint32_t periodMs, const std::string& from, const std::string& to);

// The metadata as an FFMETADATA file, every value escaped as ffmpeg reads it.
std::string ffmetadataText(const VideoMetadata& metadata);
