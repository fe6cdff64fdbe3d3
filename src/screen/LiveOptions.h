#pragma once

#include <string>

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
