#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "AudioDriver.h"
#include "FatalExitExpectation.h"
#include "WavBuilder.h"
#include "WorkingDirectory.h"
#include "audio/AudioStream.h"
#include "music/Music.h"
#include "show/OfflineClock.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::AudioDriver;

namespace {

// Runs each test in a fresh directory holding "cues.wav" (a cue on frame 0
// and one a tenth of a second in), as the show runs in its data directory.
class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::writeWav("cues.wav", 44100, 2, 44100, {{0, "start"}, {4410, "tenth"}});
        Music::getTag();
    }

    // Reads the tag once a frame, as the frame loop does: the number of
    // frames until `tag` is read (-1: not within two seconds).
    static int framesUntilTag(OfflineClock& clock, const std::string& tag) {
        for (int frames = 1; frames <= 167; ++frames) {
            clock.advance(12);
            if (Music::getTag() == tag) return frames;
        }
        return -1;
    }

    static void waitForFrames(audio::AudioStream* stream, std::uint64_t frames) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (audio::streamFramesPlayed(stream) < frames && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
    }

    testsupport::WorkingDirectory working;
    const fs::path& dir = working.path();
};

}  // namespace

TEST_F(MusicTest, MissingFileOrBadSampleSizeEndsTheProcessWithItsMessage) {
    EXPECT_FATAL_EXIT(Music("demot.wav", 255), "no such file demot.wav exiting\n");
    // The name is printed as given, even when it is mapped to find the file.
    EXPECT_FATAL_EXIT(Music("music\\Demot.wav", 255), "no such file music\\Demot.wav exiting\n");
    EXPECT_FATAL_EXIT(Music("cues.wav", 255, true, true, 24), "bits should be either 16,or 8, you choosed 24\n");
    EXPECT_FATAL_EXIT(Music("cues.wav", 255, false, true, 0), "bits should be either 16, or 8, you choosed 0\n");
    EXPECT_FATAL_EXIT(Music("cues.wav", 255, false, false, -8), "bits should be either 16, or 8, you choosed -8\n");
}

// On the offline clock: the cue sequence without real-time waits.
TEST_F(MusicTest, NothingPlaysBeforePlayThenCuesArriveAsTagsFrameByFrame) {
    OfflineClock clock;
    Music music("CUES.WAV", 255);  // found whatever the case
    ASSERT_NE(music.getStream(), nullptr);
    EXPECT_EQ(music.getChannel(), Music::kNoChannel);
    EXPECT_FALSE(music.isPlaying());
    EXPECT_EQ(music.getVolume(), 255.0f);
    music.setSyncCallback();
    clock.advance(100);
    EXPECT_EQ(audio::streamFramesPlayed(music.getStream()), 0u);
    EXPECT_STREQ(Music::getTag(), "");

    music.play();
    EXPECT_TRUE(music.isPlaying());
    EXPECT_NE(music.getChannel(), Music::kNoChannel);
    // 12 ms frames: "start" (sample 0) is passed in frame 0, "tenth" (sample
    // 4410) in frame 8, and "start" again in frame 83 when the track loops.
    EXPECT_EQ(framesUntilTag(clock, "start"), 1);
    EXPECT_EQ(framesUntilTag(clock, "tenth"), 8);
    EXPECT_EQ(framesUntilTag(clock, "start"), 75) << "the stream loops";
}

TEST_F(MusicTest, SecondPlayResumesWithoutRestarting) {
    OfflineClock clock;
    Music music("cues.wav", 255);
    music.setSyncCallback();
    music.play();
    const int channel = music.getChannel();
    clock.advance(48);  // past "start", well before "tenth"
    music.pause();
    EXPECT_FALSE(music.isPlaying());
    EXPECT_STREQ(Music::getTag(), "start");
    const std::uint64_t held = audio::streamFramesPlayed(music.getStream());
    clock.advance(500);
    EXPECT_EQ(audio::streamFramesPlayed(music.getStream()), held);

    music.play();
    EXPECT_TRUE(music.isPlaying());
    EXPECT_EQ(music.getChannel(), channel);
    clock.advance(100);
    EXPECT_STREQ(Music::getTag(), "tenth") << "went on from where it paused, not from the start";
}

TEST_F(MusicTest, VolumeIsTruncatedAndReachesTheStreamOnceItPlays) {
    const std::string output = (dir / "out.raw").string();
    {
        AudioDriver driver("disk", output, 1);
        Music music("cues.wav", 255);
        music.setVolume(127.9f);
        EXPECT_EQ(music.getVolume(), 127.9f);
        music.play();
        waitForFrames(music.getStream(), 3000);
    }  // closing the music's stream completes the output file
    const std::vector<std::int16_t> played = testsupport::readDiskOutput(output);
    // Silence while paused, then the file from frame 0 (whose first sample is not 0).
    std::size_t start = 0;
    while (start < played.size() && played[start] == 0) ++start;
    ASSERT_GE(played.size(), start + 2 * 3000);
    for (std::uint32_t f = 0; f < 3000; f += 101) {
        const std::size_t at = start + 2 * f;
        EXPECT_EQ(played[at], testsupport::builtSample(f, 0) * 127 / 255) << "frame " << f;
    }
}
