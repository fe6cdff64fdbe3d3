// Videos read back with the ffprobe and ffmpeg programs: their streams as
// ffprobe reports them, their frames and sound as ffmpeg decodes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

struct Stream {
    std::string type;  // "video" or "audio"
    std::string codec;
    std::string pixelFormat;  // "yuv420p", "bgr0"; empty for sound
    std::string rate;         // frames a second as a fraction, "60000/1001"; "0/0" for sound
    int width = 0, height = 0;
    int sampleRate = 0;
    long frames = 0;     // video frames counted by decoding
    double start = 0;    // when its first frame or sample is due
    double seconds = 0;  // how long it lasts from there (to the millisecond in Matroska)
};
// The picture and sound streams, in order (an MP4's chapter track is
// neither).
std::vector<Stream> probe(const std::string& file);

struct ChapterMark {
    std::string title;
    double start = 0;  // seconds
};
std::vector<ChapterMark> chapters(const std::string& file);
// The file's own metadata tag `key` (any case), or empty.
std::string formatTag(const std::string& file, const std::string& key);

using Picture = std::vector<std::uint8_t>;  // RGB, top row first

// The video frames with these indices, decoded at the video's size.
std::vector<Picture> decodeFrames(const std::string& file, const std::vector<long>& indices);
// Every video frame, decoded at the video's size into `pixelFormat`
// ("rgb24", "bgra", ...) of `bytesPerPixel`.
std::vector<Picture> decodeAll(const std::string& file, const std::string& pixelFormat, int bytesPerPixel);
// The sound's length in samples per channel, at its own rate.
long soundSamples(const std::string& file);
// A JPG scaled to width x height as the show stretches it over the screen.
Picture scaledJpg(const std::string& file, int width, int height);
// One hash per decoded video frame, in order.
std::vector<std::string> frameHashes(const std::string& file);

// Mean absolute difference of two pictures, over the box [x0, x1) x [y0, y1)
// of a picture `width` pixels wide; the whole picture when the box is empty.
double difference(const Picture& a, const Picture& b, int width, int x0 = 0, int y0 = 0, int x1 = 0, int y1 = 0);

// `text` quoted for the shell, and what a shell command prints.
std::string shellQuoted(const std::string& text);
std::string commandOutput(const std::string& command);

}  // namespace capture
