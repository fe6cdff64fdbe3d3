// How far a capture has come, on standard error (standard output carries
// only the show's own lines). On a terminal: one bar redrawn in place with
// the frames done, the share, the speed and the time left; elsewhere (a log,
// a pipe) one plain line every few seconds.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

class CaptureProgress {
public:
    // `totalShowFrames`: the frames the run is expected to draw, from its
    // first frame to its last; `totalVideoFrames`: the frames the video will have.
    CaptureProgress(std::uint64_t totalShowFrames, std::uint64_t totalVideoFrames, std::FILE* out);

    void update(std::uint64_t showFramesDone, std::uint64_t videoFramesDone);
    // The last report, whatever the time since the one before.
    void finish(std::uint64_t videoFramesDone);

private:
    void report(std::uint64_t showFramesDone, std::uint64_t videoFramesDone, bool last);

    using Clock = std::chrono::steady_clock;
    const std::uint64_t totalShow_;
    const std::uint64_t totalVideo_;
    std::FILE* const out_;
    const bool terminal_;
    const Clock::time_point started_ = Clock::now();
    Clock::time_point lastReport_ = started_;
};
