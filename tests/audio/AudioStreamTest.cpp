#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "AudioDriver.h"
#include "TestData.h"
#include "WavBuilder.h"
#include "WorkingDirectory.h"
#include "audio/AudioStream.h"
#include "audio/WavFile.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::AudioDriver;

namespace {

std::mutex namesLock;
std::vector<std::string> names;  // as the sync callback got them, "<null>" for none

void collectName(const char* name) {
    std::lock_guard<std::mutex> hold(namesLock);
    names.push_back(name != nullptr ? name : "<null>");
}

class AudioStreamTest : public ::testing::Test {
protected:
    void SetUp() override { names.clear(); }
    void TearDown() override { audio::closeStream(stream); }

    // Plays until at least `frames` frames went to the device.
    void playFrames(std::uint64_t frames) {
        audio::playStream(stream);
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (audio::streamFramesPlayed(stream) < frames && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_GE(audio::streamFramesPlayed(stream), frames) << "playback did not advance";
    }

    std::string output() const { return (dir / "out.raw").string(); }

    testsupport::ScratchDirectory scratch;
    const fs::path& dir = scratch.path();
    audio::AudioStream* stream = nullptr;
};

}  // namespace

TEST_F(AudioStreamTest, DiskOutputIsTheFileSampleForSampleAcrossTheLoop) {
    SKIP_WITHOUT_TESTDATA();
    AudioDriver driver("disk", output(), 1);
    const std::string file = testsupport::testDataPath("wav/wavefile-js/Audacity-16bit-lots-of-markers.wav");
    const WavSound wav = loadWav(file).value();  // 16-bit stereo 44.1 kHz
    stream = audio::openStream(file, true);
    ASSERT_NE(stream, nullptr);
    playFrames(wav.frames() * 2 + 1000);  // into the third pass
    audio::closeStream(stream);           // completes the file
    stream = nullptr;
    const std::vector<std::int16_t> played = testsupport::readDiskOutput(output());

    // Silent buffers come first, while the device waits for play.
    auto firstSound = [](const std::vector<std::int16_t>& s) {
        return static_cast<std::size_t>(std::find_if(s.begin(), s.end(), [](int v) { return v != 0; }) - s.begin()) / 2;
    };
    ASSERT_GE(firstSound(played), firstSound(wav.samples));
    const std::size_t lead = firstSound(played) - firstSound(wav.samples);
    EXPECT_EQ(lead % 512, 0u) << "only whole silent buffers before the stream";
    ASSERT_GT(played.size() / 2, lead + wav.frames() * 2);
    std::size_t mismatches = 0;
    for (std::size_t f = 0; f < played.size() / 2 - lead; ++f) {
        for (std::size_t c = 0; c < 2; ++c)
            mismatches += played[(lead + f) * 2 + c] != wav.samples[f % wav.frames() * 2 + c];
    }
    EXPECT_EQ(mismatches, 0u);
}

TEST_F(AudioStreamTest, CuesArriveInPlayOrderOncePerPassWithTheirNames) {
    AudioDriver driver("disk", output(), 1);
    // Shorter than three buffers: cues on the first and last frames, two in
    // one buffer, one on a buffer boundary, one without a label.
    const std::uint32_t length = 1300;
    const std::vector<testsupport::BuiltCue> cues = {{0, "first"},  {200, "twoInOne"},   {201, "Twoinone"},
                                                     {512, "edge"}, {700, std::nullopt}, {1299, "last"}};
    const std::vector<std::string> onePass = {"first", "twoInOne", "Twoinone", "edge", "<null>", "last"};
    testsupport::writeWav((dir / "cues.wav").string(), 44100, 2, length, cues);
    stream = audio::openStream((dir / "cues.wav").string(), true);
    ASSERT_NE(stream, nullptr);
    audio::setStreamSyncCallback(stream, collectName);
    playFrames(length * 5 + 100);
    audio::setStreamPaused(stream, true);  // returns once no callback runs

    std::vector<std::string> expected;
    const std::uint64_t played = audio::streamFramesPlayed(stream);
    for (std::uint64_t pass = 0; pass * length < played; ++pass) {
        for (std::size_t i = 0; i < cues.size(); ++i) {
            if (pass * length + cues[i].frame < played) expected.push_back(onePass[i]);
        }
    }
    EXPECT_EQ(names, expected);
}

TEST_F(AudioStreamTest, WithoutADeviceTheSilentDriverStillDeliversCuesInRealTime) {
    // The disk driver cannot write into a missing directory: no device opens.
    AudioDriver driver("disk", (dir / "missing" / "out.raw").string());
    testsupport::writeWav((dir / "cues.wav").string(), 44100, 2, 44100, {{2205, "early"}, {22050, "half"}});
    stream = audio::openStream((dir / "cues.wav").string(), true);
    ASSERT_NE(stream, nullptr);
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    audio::setStreamSyncCallback(stream, collectName);
    const auto start = std::chrono::steady_clock::now();
    playFrames(22050 + 512);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    audio::setStreamPaused(stream, true);
    EXPECT_EQ(names, (std::vector<std::string>{"early", "half"}));
    EXPECT_GT(seconds, 0.35) << "half a second of music takes about half a second";
}

TEST_F(AudioStreamTest, UnknownDriverFallsBackAndUndecodableFilesGiveNoStream) {
    AudioDriver driver("no-such-driver");
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    std::ofstream((dir / "text.wav").string()) << "not a sound file";
    EXPECT_EQ(audio::openStream((dir / "text.wav").string(), true), nullptr);
    EXPECT_EQ(audio::openStream((dir / "absent.wav").string(), true), nullptr);
    EXPECT_EQ(audio::playStream(nullptr), -1);
}

TEST_F(AudioStreamTest, WhenTheDeviceGoesAwayTheStreamPlaysOnSilentlyFromWhereItWas) {
    AudioDriver driver("dummy");
    // A cue every tenth of a second over one second.
    std::vector<testsupport::BuiltCue> cues;
    std::vector<std::string> score;
    for (int i = 0; i < 10; ++i) {
        cues.push_back({static_cast<std::uint32_t>(4410 * i), "cue" + std::to_string(i)});
        score.push_back("cue" + std::to_string(i));
    }
    testsupport::writeWav((dir / "cues.wav").string(), 44100, 2, 44100, cues);
    stream = audio::openStream((dir / "cues.wav").string(), false);
    ASSERT_NE(stream, nullptr);
    audio::setStreamSyncCallback(stream, collectName);
    const int device = audio::playStream(stream);
    playFrames(4410 * 3);

    // Gone as an unplugged headset goes: SDL stops pulling from it.
    testing::internal::CaptureStderr();
    SDL_CloseAudioDevice(static_cast<SDL_AudioDeviceID>(device));
    for (int frame = 0; frame < 100; ++frame) audio::advanceOfflineStreams(12);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "sound device lost: playing on silently\n");

    EXPECT_EQ(names, score) << "every cue once, in order, across the loss";
    EXPECT_EQ(audio::streamFramesPlayed(stream), 44100u) << "the stream played on to its end by the clock";
}

// Closing a stream at any moment of its track's decoding, the show's full
// length of music: the decoding thread's last step, which completes the
// stream's cue schedule, must be over before the stream goes. The sanitized
// builds see a slip: the thread sanitizer a schedule destroyed unordered
// with that step, the leak checker a schedule written after its end. With
// no audio subsystem a stream has no device, so its close goes straight to
// the stream and the moments are the decoding's own.
TEST_F(AudioStreamTest, ClosingWhileTheTrackIsDecodedLeavesNothingBehind) {
    audio::quitSound();
    const std::string file = (dir / "long.wav").string();
    testsupport::writeWav(file, 44100, 2, 44100 * 112, {{0, "first"}, {44100 * 111, "last"}});
    auto mapped = [&] {
        std::ifstream maps("/proc/self/maps");
        return std::string(std::istreambuf_iterator<char>(maps), {}).find(file) != std::string::npos;
    };
    // How long the decoding goes on after the open returns, in this build
    // on this machine: a sanitizer slows it many times over.
    using Seconds = std::chrono::duration<double>;
    std::vector<Seconds> decodes;
    for (int i = 0; i < 3; ++i) {
        audio::AudioStream* whole = audio::openStream(file, true);
        ASSERT_NE(whole, nullptr);
        const auto opened = std::chrono::steady_clock::now();
        audio::streamSound(whole);
        decodes.push_back(std::chrono::steady_clock::now() - opened);
        audio::closeStream(whole);
    }
    std::sort(decodes.begin(), decodes.end());
    const Seconds decoding = decodes[1];
    std::printf("decoding after the open: %.1f ms\n", decoding.count() * 1000);

    // Over the decoding and past its end, where the last step runs: about a
    // third of the closes come once the track is whole.
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> at(0.0, 1.5);
    for (int round = 0; round < 30; ++round) {
        audio::AudioStream* closed = audio::openStream(file, true);
        ASSERT_NE(closed, nullptr);
        std::this_thread::sleep_for(at(random) * decoding);
        audio::closeStream(closed);
        ASSERT_FALSE(mapped()) << "round " << round << ": the closed stream's file is still mapped";
    }
}
