// The capture mode from outside: the real binary run in a data directory,
// and what ffprobe and ffmpeg read back from the video it wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

struct Result {
    int exitCode = -1;
    std::string out;          // standard output
    std::string err;          // standard error
    bool leftBehind = false;  // temporary files remained after it ended
};

// Runs `marrowick ARGUMENTS` in `dataDir`; `path` replaces PATH when set.
Result runShow(const std::vector<std::string>& arguments, const std::string& dataDir, const std::string& path = "");

struct Stream {
    std::string type;  // "video" or "audio"
    std::string codec;
    int width = 0, height = 0;
    long frames = 0;  // video frames counted by decoding
    double seconds = 0;
};
std::vector<Stream> probe(const std::string& file);

using Picture = std::vector<std::uint8_t>;  // RGB, top row first

// The video frames with these indices, decoded at the video's size.
std::vector<Picture> decodeFrames(const std::string& file, const std::vector<long>& indices);
// A JPG scaled to width x height as the show stretches it over the screen.
Picture scaledJpg(const std::string& file, int width, int height);
// One hash per decoded video frame, in order.
std::vector<std::string> frameHashes(const std::string& file);

// Mean absolute difference of two pictures, over the box [x0, x1) x [y0, y1)
// of a picture `width` pixels wide; the whole picture when the box is empty.
double difference(const Picture& a, const Picture& b, int width, int x0 = 0, int y0 = 0, int x1 = 0, int y1 = 0);

}  // namespace capture
