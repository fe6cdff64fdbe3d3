// What the command line asks of the show. With no options it is the show as
// it always was; options add what a Linux user expects and the capture to a
// video file. The options themselves, with their help, are the rows of
// app/OptionTable.h; app/OptionParser.h reads them.
#pragma once

#include <string>
#include <vector>

#include "capture/FrameRate.h"

struct CaptureOptions {
    enum class Container { Mp4, WebM, Mkv };

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

// How the show meets the screen and the sound card when it plays live.
struct LiveOptions {
    bool window = false;  // a normal window instead of full screen
    int width = 640;      // the size asked for when the window is made
    int height = 480;
    bool keepAspect = false;  // the show in the largest centred 4:3 area, black bars beside it
    bool mute = false;        // no sound device: the music moves on the show's own clock
    bool vsync = false;       // leave the driver's swap synchronisation as it is
    std::string timingsFile;  // where to log each frame's section and swap time, if anywhere
    bool player = false;      // the keys work, and the show runs on the show clock
    std::string from;         // a cue or a time; either runs the show on the show clock
    std::string to;
};

struct ShowOptions {
    bool help = false;
    bool version = false;
    bool capture = false;
    bool listCues = false;
    CaptureOptions captureOptions;
    LiveOptions live;
    std::string dataDir;  // empty: the current folder
    // The program name first, then every argument the show leaves to GLUT.
    std::vector<std::string> glutArguments;
};
