#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "TestData.h"
#include "WavBuilder.h"
#include "WorkingDirectory.h"
#include "audio/StreamingTrack.h"
#include "audio/WavFile.h"

using audio::StreamingTrack;

namespace {

using Cues = std::vector<std::tuple<std::uint32_t, std::uint32_t, std::string, bool>>;

Cues cuesOf(const std::vector<WavCue>& cues) {
    Cues out;
    for (const WavCue& cue : cues) out.emplace_back(cue.id, cue.frame, cue.label, cue.labelled);
    return out;
}

// Opens the track and, while it decodes, checks on another thread that every
// frame it calls ready is already the file's own. Returns the whole track.
struct Opened {
    std::unique_ptr<StreamingTrack> track;
    std::size_t wrongWhileDecoding = 0;
    int hookCalls = 0;
    std::uint32_t hookFrames = 0;
};

Opened openAndWatch(const std::string& path, std::uint32_t firstMs, const std::vector<std::int16_t>& expected) {
    Opened o;
    std::atomic<int> hookCalls{0};
    std::atomic<std::uint32_t> hookFrames{0};
    o.track = StreamingTrack::open(path, firstMs, [&](const WavSound& whole) {
        hookFrames = whole.frames();
        ++hookCalls;
    });
    if (o.track == nullptr) return o;
    const std::size_t channels = static_cast<std::size_t>(o.track->channels());
    std::thread watcher([&] {
        std::size_t checked = 0;
        for (StreamingTrack::Progress p{}; !p.whole;) {
            p = o.track->progress();
            const std::size_t ready = std::min<std::size_t>(p.frames * channels, expected.size() + 1);
            for (; checked < ready; ++checked) {
                if (checked >= expected.size() || o.track->samples()[checked] != expected[checked]) {
                    ++o.wrongWhileDecoding;
                }
            }
        }
    });
    o.track->whole();
    watcher.join();
    o.hookCalls = hookCalls;
    o.hookFrames = hookFrames;
    return o;
}

}  // namespace

TEST(StreamingTrack, WhateverItDecodesAtOnceTheTrackIsTheFileDecodedWhole) {
    SKIP_WITHOUT_TESTDATA();
    for (const char* name : {"wavefile-js/Audacity-16bit-lots-of-markers.wav",  // 16-bit stereo, 5 s, labelled cues
                             "wavinfo/STE-000.wav",                             // lower-case list chunk
                             "go-audio/listChunkInHeader.wav",                  // 24-bit
                             "scipy/test-44100Hz-le-1ch-4bytes-early-eof.wav",  // the header promises more
                             "scipy/test-8000Hz-le-1ch-1byte-ulaw.wav"}) {
        const std::string path = testsupport::testDataPath(std::string("wav/") + name);
        const WavSound reference = loadWav(path).value();
        for (const std::uint32_t firstMs : {0u, 20u, 1000000u}) {
            SCOPED_TRACE(std::string(name) + ", first " + std::to_string(firstMs) + " ms");
            Opened o = openAndWatch(path, firstMs, reference.samples);
            ASSERT_NE(o.track, nullptr);
            const WavSound& whole = o.track->whole();
            EXPECT_EQ(whole.sampleRate, reference.sampleRate);
            EXPECT_EQ(whole.channels, reference.channels);
            EXPECT_TRUE(whole.samples == reference.samples);
            EXPECT_EQ(cuesOf(o.track->cues()), cuesOf(reference.cues));
            EXPECT_EQ(o.wrongWhileDecoding, 0u);
            EXPECT_EQ(o.track->progress().frames, reference.frames());
            EXPECT_EQ(o.hookCalls, 1);
            EXPECT_EQ(o.hookFrames, reference.frames());
        }
    }
}

TEST(StreamingTrack, KeepsTheFrontPairOfMoreChannelsAndOpensNothingUnreadable) {
    const testsupport::ScratchDirectory scratch;
    const std::filesystem::path& dir = scratch.path();
    const std::uint32_t frames = 30000;
    testsupport::writeWav((dir / "four.wav").string(), 8000, 4, frames, {{100, "cue"}});
    std::vector<std::int16_t> frontPair;
    for (std::uint32_t f = 0; f < frames; ++f) {
        for (int c = 0; c < 2; ++c) frontPair.push_back(testsupport::builtSample(f, c));
    }
    Opened o = openAndWatch((dir / "four.wav").string(), 100, frontPair);
    ASSERT_NE(o.track, nullptr);
    EXPECT_EQ(o.track->channels(), 2);
    EXPECT_TRUE(o.track->whole().samples == frontPair);
    EXPECT_EQ(o.wrongWhileDecoding, 0u);

    std::ofstream((dir / "text.wav").string()) << "not a sound file";
    EXPECT_EQ(StreamingTrack::open((dir / "text.wav").string(), 0), nullptr);
    EXPECT_EQ(StreamingTrack::open((dir / "absent.wav").string(), 0), nullptr);
}
