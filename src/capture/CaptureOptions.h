// What a capture is asked for: the file and its kind, the frame's size and
// shape, the rate and how show frames become video frames, and the span. A
// .png is a still: the one frame --from names.
#pragma once

#include <string>

#include "show/FrameRate.h"

struct CaptureOptions {
    enum class Container { Mp4, WebM, Mkv, Png };

    std::string file;
    Container container = Container::Mp4;
    int width = 1280;
    int height = 720;
    FrameRate fps{60};
    int supersample = 1;      // drawn at this many times the width and height, then reduced
    bool blend = false;       // each video frame the average of the show frames during it
    bool stretch = false;     // fill the frame instead of a centred 4:3 area
    bool lossless = false;    // every pixel kept: for archives and re-encoding
    bool archive = false;     // FFV1 in the drawn RGB, lossless (a .mkv only)
    std::string from;         // a cue or a time; empty: from the start
    std::string to;           // a cue or a time; empty: to the closing cue
    std::string timingsFile;  // where to write each frame's draw times, if anywhere
};
