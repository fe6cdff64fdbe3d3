// What the command line asks of the show. With no options it is the show as
// it always was; options add what a Linux user expects and the capture to a
// video file. The options themselves, with their help, are the rows of
// app/OptionTable.h; app/OptionParser.h reads them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "capture/CaptureOptions.h"
#include "screen/LiveOptions.h"

struct ShowOptions {
    bool help = false;
    bool version = false;
    bool capture = false;
    bool listCues = false;
    CaptureOptions captureOptions;
    LiveOptions live;
    std::string dataDir;  // empty: the current folder
    // The name of each option given, in order: a value alone does not tell
    // whether it was asked for or is the default.
    std::vector<std::string_view> given;
    // The program name first, then every argument the show leaves to GLUT.
    std::vector<std::string> glutArguments;
};
