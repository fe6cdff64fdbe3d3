#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AudioDriver.h"
#include "WavBuilder.h"
#include "platform/AudioStream.h"
#include "platform/WavFile.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::AudioDriver;
using testsupport::BuiltCue;
using testsupport::WavBuilder;

namespace {

const std::string kWavDir = std::string(MARROWICK_TESTDATA_DIR) + "/wav/";

// Cue names as the sync callback delivers them ("<null>" for no name).
std::mutex namesLock;
std::vector<std::string> names;

void collectName(const char* name) {
    std::lock_guard<std::mutex> hold(namesLock);
    names.push_back(name != nullptr ? name : "<null>");
}

std::vector<std::string> collectedNames() {
    std::lock_guard<std::mutex> hold(namesLock);
    return names;
}

class AudioStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("marrowick-sound-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::lock_guard<std::mutex> hold(namesLock);
        names.clear();
    }
    void TearDown() override {
        platform::closeStream(stream);
        fs::remove_all(dir);
    }

    // Plays until at least `frames` frames went to the device (or 20 s passed).
    void playFrames(std::uint64_t frames) {
        platform::playStream(stream);
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (platform::streamFramesPlayed(stream) < frames && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_GE(platform::streamFramesPlayed(stream), frames) << "playback did not advance";
    }

    // Closes the stream (so the output file is complete) and returns what was written.
    std::vector<std::int16_t> closeAndReadOutput() {
        platform::closeStream(stream);
        stream = nullptr;
        return testsupport::readDiskOutput(output());
    }

    std::string output() const { return (dir / "out.raw").string(); }

    fs::path dir;
    platform::AudioStream* stream = nullptr;
};

// Where `played` (interleaved, `channels` wide) starts holding `source`: the
// disk driver writes silence while the stream is still paused.
std::size_t firstSoundingFrame(const std::vector<std::int16_t>& samples, int channels) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] != 0) return i / static_cast<std::size_t>(channels);
    }
    return samples.size();
}

}  // namespace

TEST_F(AudioStreamTest, DiskOutputIsTheFileSampleForSampleAcrossTheLoop) {
    AudioDriver driver("disk", output(), 1);
    const std::string file = kWavDir + "wavefile-js/Audacity-16bit-lots-of-markers.wav";  // 16-bit stereo 44.1 kHz
    const WavSound wav = loadWav(file).value();
    stream = platform::openStream(file, true);
    ASSERT_NE(stream, nullptr);
    playFrames(wav.frames() * 2 + 1000);  // into the third pass
    const std::vector<std::int16_t> played = closeAndReadOutput();

    const std::size_t lead = firstSoundingFrame(played, 2) - firstSoundingFrame(wav.samples, 2);
    EXPECT_EQ(lead % 512, 0u) << "only whole silent buffers come before the stream";
    const std::size_t frames = played.size() / 2 - lead;
    ASSERT_GT(frames, wav.frames() * 2u);
    std::size_t mismatches = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        const std::size_t from = f % wav.frames();
        for (int c = 0; c < 2; ++c) {
            if (played[(lead + f) * 2 + c] != wav.samples[from * 2 + c]) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0u);
}

TEST_F(AudioStreamTest, CuesArriveInOrderOncePerPassWithNamesAsLabelled) {
    AudioDriver driver("disk", output(), 1);
    const std::string file = (dir / "cues.wav").string();
    // A file shorter than three buffers: cues on the first and last frames,
    // two in one buffer, one on a buffer boundary, one without a label.
    const std::uint32_t length = 1300;
    const std::vector<BuiltCue> cues = {
        {0, "first"}, {200, "twoInOne"}, {201, "Twoinone"}, {512, "boundary"}, {700, std::nullopt}, {1299, "last"}};
    WavBuilder(44100, 2).write(file, length, cues);
    stream = platform::openStream(file, true);
    ASSERT_NE(stream, nullptr);
    platform::setStreamSyncCallback(stream, collectName);
    playFrames(length * 5 + 100);
    platform::setStreamPaused(stream, true);  // returns once no callback runs

    // Every cue up to the last frame handed over, in play order, each pass.
    const std::vector<std::string> onePass = {"first", "twoInOne", "Twoinone", "boundary", "<null>", "last"};
    std::vector<std::string> expected;
    const std::uint64_t played = platform::streamFramesPlayed(stream);
    for (std::uint64_t pass = 0; pass * length < played; ++pass) {
        for (std::size_t i = 0; i < cues.size(); ++i) {
            if (pass * length + cues[i].frame < played) expected.push_back(onePass[i]);
        }
    }
    EXPECT_EQ(collectedNames(), expected);
}

TEST_F(AudioStreamTest, StreamThatDoesNotLoopStopsAtTheEnd) {
    AudioDriver driver("disk", output(), 1);
    const std::string file = (dir / "once.wav").string();
    WavBuilder(22050, 1).write(file, 3000, {{2999, "end"}});
    stream = platform::openStream(file, false);
    ASSERT_NE(stream, nullptr);
    platform::setStreamSyncCallback(stream, collectName);
    playFrames(3000);
    std::this_thread::sleep_for(100ms);  // many more buffers' time
    EXPECT_EQ(platform::streamFramesPlayed(stream), 3000u);
    const std::vector<std::int16_t> played = closeAndReadOutput();
    EXPECT_EQ(collectedNames(), std::vector<std::string>{"end"});
    const std::size_t start = firstSoundingFrame(played, 1);
    ASSERT_GE(played.size(), start + 3000);
    EXPECT_EQ(played[start + 2999], WavBuilder::sampleAt(2999, 0));
    for (std::size_t i = start + 3000; i < played.size(); ++i) ASSERT_EQ(played[i], 0) << "sample " << i;
}

TEST_F(AudioStreamTest, VolumeScalesTheOutputAndIsClampedTo255) {
    AudioDriver driver("disk", output(), 1);
    const std::string file = (dir / "loud.wav").string();
    WavBuilder(44100, 2).write(file, 4000, {});
    stream = platform::openStream(file, true);
    ASSERT_NE(stream, nullptr);
    platform::setStreamVolume(stream, 100);
    playFrames(4000);
    std::vector<std::int16_t> played = closeAndReadOutput();
    std::size_t start = firstSoundingFrame(played, 2);
    ASSERT_GE(played.size() / 2, start + 4000);
    for (std::uint32_t f = 1; f < 4000; f += 97) {
        EXPECT_EQ(played[(start + f) * 2 + 1], WavBuilder::sampleAt(f, 1) * 100 / 255) << "frame " << f;
    }

    stream = platform::openStream(file, true);
    platform::setStreamVolume(stream, 1000);
    playFrames(4000);
    played = closeAndReadOutput();
    start = firstSoundingFrame(played, 2);
    ASSERT_GE(played.size() / 2, start + 4000);
    EXPECT_EQ(played[(start + 3999) * 2], WavBuilder::sampleAt(3999, 0));
}

TEST_F(AudioStreamTest, PauseHoldsThePositionAndStopRewinds) {
    AudioDriver driver("disk", output(), 1);
    const std::string file = (dir / "cues.wav").string();
    WavBuilder(44100, 1).write(file, 100000, {{0, "start"}});
    stream = platform::openStream(file, true);
    platform::setStreamSyncCallback(stream, collectName);
    playFrames(5000);
    platform::setStreamPaused(stream, true);
    const std::uint64_t held = platform::streamFramesPlayed(stream);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(platform::streamFramesPlayed(stream), held);
    playFrames(held + 5000);
    EXPECT_EQ(collectedNames().size(), 1u) << "resuming goes on, it does not start again";

    platform::stopStream(stream);
    playFrames(platform::streamFramesPlayed(stream) + 1000);
    EXPECT_EQ(collectedNames().size(), 2u) << "after a stop the first frame plays again";
}

TEST_F(AudioStreamTest, WithoutADeviceTheSilentDriverStillDeliversCuesInRealTime) {
    // The disk driver cannot open a file in a directory that does not exist:
    // no device opens, and the layer carries on with the dummy driver.
    AudioDriver driver("disk", (dir / "missing" / "out.raw").string());
    const std::string file = (dir / "cues.wav").string();
    WavBuilder(44100, 2).write(file, 44100, {{2205, "early"}, {22050, "half"}});
    stream = platform::openStream(file, true);
    ASSERT_NE(stream, nullptr);
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    platform::setStreamSyncCallback(stream, collectName);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_GE(platform::playStream(stream), 0);
    playFrames(22050 + 512);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(collectedNames(), (std::vector<std::string>{"early", "half"}));
    EXPECT_GT(seconds, 0.35) << "the dummy driver plays in real time, not as fast as it can";
}

TEST_F(AudioStreamTest, UnknownDriverFallsBackAndUndecodableFilesGiveNoStream) {
    AudioDriver driver("no-such-driver");
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");

    const std::string text = (dir / "text.wav").string();
    std::ofstream(text) << "not a sound file";
    EXPECT_EQ(platform::openStream(text, true), nullptr);
    EXPECT_EQ(platform::openStream((dir / "absent.wav").string(), true), nullptr);
    // Every call takes the missing stream and does nothing.
    EXPECT_EQ(platform::playStream(nullptr), -1);
    platform::setStreamPaused(nullptr, true);
    platform::setStreamVolume(nullptr, 3);
    platform::stopStream(nullptr);
    EXPECT_EQ(platform::streamFramesPlayed(nullptr), 0u);
}
