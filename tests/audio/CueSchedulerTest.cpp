#include <gtest/gtest.h>

#include <vector>

#include "audio/CueScheduler.h"

namespace {

// Plays the stream in buffers of `bufferFrames` for `buffers` callbacks, as
// the audio callback does, and lists the cues passed, buffer by buffer.
std::vector<std::vector<std::size_t>> play(const CueScheduler& cues, std::uint32_t bufferFrames, int buffers,
                                           std::uint32_t start = 0) {
    std::vector<std::vector<std::size_t>> passed;
    std::uint32_t position = start;
    for (int i = 0; i < buffers; ++i) {
        passed.emplace_back();
        cues.forEachPassed(position, bufferFrames, [&](std::size_t cue) { passed.back().push_back(cue); });
        position = static_cast<std::uint32_t>((position + bufferFrames) % cues.streamFrames());
    }
    return passed;
}

using Buffers = std::vector<std::vector<std::size_t>>;

}  // namespace

TEST(CueScheduler, CueOnABufferBoundaryFiresOnceInTheBufferThatStartsWithIt) {
    // Cue 0 is the last frame of the first buffer, cue 1 the first of the third.
    const CueScheduler cues({511, 1024}, 4096);
    EXPECT_EQ(play(cues, 512, 4), (Buffers{{0}, {}, {1}, {}}));
}

TEST(CueScheduler, TwoCuesInOneBufferComeInPlayOrderWhateverTheirListOrder) {
    const CueScheduler cues({300, 100, 100}, 4096);
    // Same frame: the order they were given in.
    EXPECT_EQ(play(cues, 512, 1), (Buffers{{1, 2, 0}}));
}

TEST(CueScheduler, FirstAndLastSampleFireOncePerPassAcrossTheLoop) {
    const std::uint32_t length = 1000;  // not a multiple of the buffer: each pass splits differently
    const CueScheduler cues({0, length - 1}, length);
    std::vector<std::size_t> all;
    std::uint32_t position = 0;
    for (int i = 0; i < 20; ++i) {  // 5120 frames: five whole passes and the start of a sixth
        cues.forEachPassed(position, 256, [&](std::size_t cue) { all.push_back(cue); });
        position = (position + 256) % length;
    }
    const std::vector<std::size_t> expected = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
    EXPECT_EQ(all, expected);
}

TEST(CueScheduler, BufferThatWrapsDeliversTheEndBeforeTheStart) {
    const CueScheduler cues({10, 990}, 1000);
    std::vector<std::size_t> passed;
    cues.forEachPassed(900, 200, [&](std::size_t cue) { passed.push_back(cue); });
    EXPECT_EQ(passed, (std::vector<std::size_t>{1, 0}));
    passed.clear();
    // A position given past the end counts from the start of the stream again.
    cues.forEachPassed(1000 + 5, 10, [&](std::size_t cue) { passed.push_back(cue); });
    EXPECT_EQ(passed, (std::vector<std::size_t>{0}));
}

TEST(CueScheduler, BufferLongerThanTheStreamPassesItSeveralTimes) {
    // A four-frame file on a 512-frame buffer: 128 whole passes.
    const CueScheduler cues({2}, 4);
    int fired = 0;
    cues.forEachPassed(0, 512, [&](std::size_t) { ++fired; });
    EXPECT_EQ(fired, 128);
    fired = 0;
    cues.forEachPassed(3, 6, [&](std::size_t) { ++fired; });  // frames 3,0,1,2,3,0: one pass over frame 2
    EXPECT_EQ(fired, 1);
}

TEST(CueScheduler, CueAtOrPastTheEndFiresOnTheLastFrame) {
    const CueScheduler cues({1000, 5000}, 1000);
    EXPECT_EQ(play(cues, 500, 4), (Buffers{{}, {0, 1}, {}, {0, 1}}));
}

TEST(CueScheduler, EmptyStreamOrNoCuesOrNoFramesPassNothing) {
    int fired = 0;
    CueScheduler({0, 1}, 0).forEachPassed(0, 512, [&](std::size_t) { ++fired; });
    CueScheduler({}, 100).forEachPassed(0, 512, [&](std::size_t) { ++fired; });
    CueScheduler({5}, 100).forEachPassed(0, 0, [&](std::size_t) { ++fired; });
    CueScheduler().forEachPassed(0, 512, [&](std::size_t) { ++fired; });
    EXPECT_EQ(fired, 0);
}
