// The live show's own record of its frames, for the tools that measure it:
// one line per frame shown, with the section it belonged to and the wall
// clock at its swap, so that a shell can relate it to the moment it launched
// the show. Lines go out as they are written: a tool may stop the show once
// it has seen the frames it wants.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class FrameLog {
public:
    // Throws std::runtime_error when the file cannot be written.
    explicit FrameLog(const std::string& path);
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // After each swap: the section (the sequencer's state) the frame showed,
    // its show time, and the last cue passed ("-" for none).
    void frameShown(std::int32_t section, std::uint64_t showMs, const std::string& cue);

private:
    std::FILE* file;
    std::uint64_t frames = 0;
};
