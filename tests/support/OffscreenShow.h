// The whole show built once for a test process, as the capture builds it: on
// the offline clock, drawn off-screen at a small size, over a data pack. It
// keeps a straight run's frames (a hash of each picture and the music's
// sample before it) so that any other way to a frame can be held to it.
// Header only, with no test framework, so fuzz targets use it too.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioStream.h"
#include "music/Music.h"
#include "platform/DataPath.h"
#include "platform/OffscreenGl.h"
#include "show/OfflineClock.h"
#include "show/Show.h"
#include "show/View.h"

namespace testsupport {

struct ShowMoment {
    std::uint64_t pixels;  // a hash of the frame drawn
    std::uint32_t sample;  // where the music stood before it
};

class OffscreenShow {
public:
    // Plays straight from launch to frame `frames` (never past the closing cue).
    OffscreenShow(const std::string& packDir, int width, int height, std::uint64_t frames)
        : width_(width), height_(height), show_(packDir, &clock_), context_(width, height) {
        show_.start();
        reshapeOnto(centredFourByThree(width, height));
        stream_ = show_.music().getStream();
        while (show_.frame() < frames && show_.frame() + 1 < show_.closingFrame()) {
            straight_.push_back(drawNext());
        }
    }

    // Draws the frame about to be drawn.
    ShowMoment drawNext() {
        const std::uint32_t sample = audio::streamPosition(stream_).frame;
        show_.runFrame(true);
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width_) * height_ * 4);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        std::uint64_t hash = 1469598103934665603ull;
        for (const std::uint8_t byte : pixels) hash = (hash ^ byte) * 1099511628211ull;
        return {hash, sample};
    }

    Show& show() { return show_; }
    const std::vector<ShowMoment>& straight() const { return straight_; }

private:
    int width_, height_;
    OfflineClock clock_;  // before the objects: they take their seeds from it
    Show show_;
    platform::OffscreenGl context_;
    audio::AudioStream* stream_ = nullptr;
    std::vector<ShowMoment> straight_;
};

}  // namespace testsupport
