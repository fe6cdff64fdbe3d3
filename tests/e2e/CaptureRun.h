// The capture mode from outside: the real binary run in a data directory;
// VideoFile.h reads back the video it wrote.
#pragma once

#include <string>
#include <vector>

#include "VideoFile.h"

namespace capture {

struct Result {
    int exitCode = -1;
    std::string out;          // standard output
    std::string err;          // standard error
    bool leftBehind = false;  // temporary files remained after it ended
};

// Runs `marrowick ARGUMENTS` in `dataDir`; `path` replaces PATH when set.
Result runShow(const std::vector<std::string>& arguments, const std::string& dataDir, const std::string& path = "");

}  // namespace capture
