#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "WorkingDirectory.h"
#include "audio/WavFile.h"
#include "pack/PackContext.h"
#include "pack/music/MusicGenerator.h"
#include "pack/music/Score.h"

namespace fs = std::filesystem;

namespace {

// The show's cues in the order the music must pass them, and the time each
// should fall on.
struct Wanted {
    const char* name;
    double seconds;
};
const std::vector<Wanted> kTimeline = {
    {"queenRoll", 5},      {"queenText", 10},   {"queenThrow", 14},   {"kingStart", 17},      {"queenRoll2", 21},
    {"outKing", 25},       {"pesants", 29},     {"graphical", 35},    {"graphical2", 42},     {"allBalls", 52},
    {"fadeOutScene2", 60}, {"scene3", 66},      {"alienSuicide", 70}, {"alienSuicide2", 74},  {"alienSuicide3", 78},
    {"kubeShow", 83},      {"littleChase", 88}, {"handJobb", 96},     {"fadeToCredits", 104},
};

class TrackTest : public ::testing::Test {
protected:
    fs::path generate(bool shortTrack, const std::string& subdir) {
        PackContext pack;
        pack.outDir = dir / subdir;
        pack.shortTrack = shortTrack;
        writeMusic(pack);
        return pack.outDir / "demot.wav";
    }

    static std::vector<char> bytesOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    }

    static double secondsOf(std::uint32_t frame) { return frame / 44100.0; }

    testsupport::ScratchDirectory scratch;
    const fs::path& dir = scratch.path();
};

// The loudest sample and how many sit on the rails.
void expectHeadroom(const WavSound& wav) {
    int peak = 0;
    std::size_t clipped = 0;
    for (std::int16_t s : wav.samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
        if (s == 32767 || s == -32768) ++clipped;
    }
    EXPECT_EQ(clipped, 0u);
    EXPECT_LT(peak, 32767 * 0.95) << "peak under full scale";
    EXPECT_GT(peak, 32767 * 0.5) << "and not a quiet track either";
}

}  // namespace

TEST_F(TrackTest, FullTrackCarriesTheScoreOnBeatsWithoutClipping) {
    const fs::path path = generate(false, "full");
    // 16-bit PCM, stereo, 44.1 kHz: the format the show's stream was opened with.
    const std::vector<char> bytes = bytesOf(path);
    const std::string format("fmt \x10\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0", 24);
    ASSERT_GT(bytes.size(), 36u);
    EXPECT_EQ(std::string(&bytes[12], 24), format);

    const WavSound wav = loadWav(path.string()).value();
    const double length = secondsOf(wav.frames());
    EXPECT_GT(length, 105.0);
    EXPECT_LT(length, 120.0) << "about a minute and fifty seconds";

    ASSERT_EQ(wav.cues.size(), kTimeline.size());
    for (std::size_t i = 0; i < kTimeline.size(); ++i) {
        SCOPED_TRACE(kTimeline[i].name);
        EXPECT_EQ(wav.cues[i].label, kTimeline[i].name);
        EXPECT_TRUE(wav.cues[i].labelled);
        // On a beat, and no further from its time than half a bar.
        EXPECT_EQ(wav.cues[i].frame % score::kBeatFrames, 0u);
        EXPECT_NEAR(secondsOf(wav.cues[i].frame), kTimeline[i].seconds, 0.5 * secondsOf(score::kBarFrames));
        if (i > 0) {
            EXPECT_GT(wav.cues[i].frame, wav.cues[i - 1].frame);
        }
    }
    EXPECT_GT(length, secondsOf(wav.cues.back().frame) + 2.0) << "the closing cue is not the last sample";
    expectHeadroom(wav);
}

TEST_F(TrackTest, ShortTrackHasTheSameCuesAboutASecondApart) {
    const WavSound wav = loadWav(generate(true, "short").string()).value();
    ASSERT_EQ(wav.cues.size(), kTimeline.size());
    for (std::size_t i = 0; i < kTimeline.size(); ++i) {
        SCOPED_TRACE(kTimeline[i].name);
        EXPECT_EQ(wav.cues[i].label, kTimeline[i].name);
        const double since = secondsOf(wav.cues[i].frame) - (i > 0 ? secondsOf(wav.cues[i - 1].frame) : 0.0);
        EXPECT_GT(since, 0.8);
        EXPECT_LT(since, 1.2);
    }
    const double afterLast = secondsOf(wav.frames()) - secondsOf(wav.cues.back().frame);
    EXPECT_GT(afterLast, 0.2);
    EXPECT_LT(afterLast, 2.0) << "the track ends shortly after its last cue";
    expectHeadroom(wav);
}

TEST_F(TrackTest, SameSeedSameBytes) {
    const std::vector<char> first = bytesOf(generate(true, "a"));
    const std::vector<char> second = bytesOf(generate(true, "b"));
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first == second);
}
