// The offline clock over the real sound layer: a built track with cues at
// the edges of frames, played frame by frame with no device, read the way
// the frame loop reads it.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "WavBuilder.h"
#include "music/Music.h"
#include "platform/Ticks.h"
#include "show/FrameTiming.h"
#include "show/OfflineClock.h"

TEST(OfflineClock, CuesArriveOnTheFramesTheirSamplesPredictOnePerFrameAndAgainAfterTheLoop) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("marrowick-offline-" + std::to_string(::getpid()) + ".wav"))
            .string();
    constexpr int kRate = 22050;
    constexpr std::uint32_t kFrames = 22050;  // one second, then the track loops
    const FrameTiming timing{12, 60, kRate};
    // Frame 0 spans samples 0..263 at this rate: cues on both edges of a
    // frame, two in one frame (only the later is read), one unnamed, one on
    // the very last sample.
    const std::vector<testsupport::BuiltCue> cues{{0, "first"},         {263, "edge"},  {264, "next"},
                                                  {5000, "lost"},       {5001, "kept"}, {9000, std::nullopt},
                                                  {kFrames - 1, "last"}};
    testsupport::writeWav(path, kRate, 2, kFrames, cues);

    OfflineClock clock;
    Music music(path.c_str(), 255);
    music.setSyncCallback();
    music.play();
    Music::getTag();

    std::vector<std::pair<std::uint64_t, std::string>> passed, read;
    const std::uint64_t frames = timing.frameContaining(2 * kFrames - 1) + 2;  // two passes and the last read
    for (std::uint64_t frame = 0; frame < frames; ++frame) {
        ASSERT_EQ(platform::tickCount(), platform::kTickEpoch + 12 * frame);
        if (const std::string tag = Music::getTag(); !tag.empty()) read.emplace_back(frame, tag);
        for (const std::string& name : clock.advance(12)) passed.emplace_back(frame, name);
    }

    std::vector<std::pair<std::uint64_t, std::string>> expectedPassed, expectedRead;
    for (std::uint64_t pass = 0; pass < 3; ++pass) {
        for (const auto& cue : cues) {
            const std::uint64_t frame = timing.frameContaining(pass * kFrames + cue.frame);
            if (frame < frames) expectedPassed.emplace_back(frame, cue.label.value_or(""));
        }
    }
    // The next frame reads the last named cue its predecessor passed.
    for (const auto& [frame, name] : expectedPassed) {
        if (name.empty() || frame + 1 == frames) continue;
        if (!expectedRead.empty() && expectedRead.back().first == frame + 1) expectedRead.pop_back();
        expectedRead.emplace_back(frame + 1, name);
    }
    EXPECT_EQ(passed, expectedPassed);
    EXPECT_EQ(read, expectedRead);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the offline clock opened the sound system";
    std::filesystem::remove(path);
}
