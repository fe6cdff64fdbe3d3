// The file a video is written into before it is renamed into place: one of
// the capture's own making, created here under a name no file had, so that
// no file the user keeps beside the video is ever written over or removed.
#pragma once

#include <optional>
#include <string>

// Creates `<video>.XXXXXX.part`, empty, in the video's folder, failing
// rather than opening a file that exists already. Its path, or nothing with
// errno saying why.
std::optional<std::string> createPartialFile(const std::string& video);
