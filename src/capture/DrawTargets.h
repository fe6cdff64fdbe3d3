// Where the capture draws: an off-screen context with two pbuffers used in
// turn. The renderer rasterises a frame on its own threads after the show
// has issued it; with a second pbuffer the show issues the next frame (and
// runs the scenes of frames no video frame shows) while the one before is
// still being rasterised, and reads that one back only then. Nothing about
// the pixels changes: both pbuffers are drawn as the one would be. Frames
// larger than 4K (supersampled ones) get one pbuffer: there the rasterising
// takes so long that issuing beside it gains nothing, and each pbuffer costs
// eight bytes a pixel.
#pragma once

#include <cstdint>

#include "platform/OffscreenGl.h"

class DrawTargets {
public:
    // The context, current on this thread, and its width x height pbuffers.
    DrawTargets(int width, int height);

    // Whether a frame may be left to be read back after the next one is
    // issued; with one pbuffer it must be read back first.
    bool overlapped() const { return surfaces_ == 2; }

    // Show frame n draws into pbuffer n % 2 (or the one).
    void drawInto(std::uint64_t frame);
    // Show frame n, as drawn: BGRA, bottom row first. Waits for what is left
    // of its rasterising.
    void readBack(std::uint64_t frame, std::uint8_t* pixels);

private:
    int surfaces_;
    platform::OffscreenGl context_;
    int drawing_ = 0;  // the pbuffer being drawn into
    int reading_ = 0;  // and the one glReadPixels reads
};
