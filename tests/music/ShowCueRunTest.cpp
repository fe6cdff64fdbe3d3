// The show's short track through the real sound layer on the silent driver,
// read the way the frame loop reads it: one getTag every 12 ms. Logs every
// cue with its delay from the moment its buffer went to the device to the
// frame that read it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AudioDriver.h"
#include "WorkingDirectory.h"
#include "audio/AudioStream.h"
#include "audio/WavFile.h"
#include "music/Music.h"
#include "music/SyncTag.h"
#include "pack/PackContext.h"
#include "pack/music/MusicGenerator.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

std::mutex handedLock;
std::vector<std::pair<std::string, Clock::time_point>> handed;  // name, when its buffer went out

// Stands between the sound layer and Music's own callback to note the time.
void stampAndDeliver(const char* name) {
    {
        std::lock_guard<std::mutex> hold(handedLock);
        handed.emplace_back(name != nullptr ? name : "", Clock::now());
    }
    showSyncTag().post(name);
}

}  // namespace

TEST(ShowCueRun, EveryCueIsReadOncePerPassInOrderWithinAFrame) {
    // The show reads its music by bare name from its data directory.
    const testsupport::WorkingDirectory working;
    const fs::path& dir = working.path();
    PackContext pack;
    pack.outDir = dir;
    pack.shortTrack = true;
    writeMusic(pack);
    const WavSound track = loadWav((dir / "demot.wav").string()).value();
    std::vector<std::string> score;
    for (const WavCue& cue : track.cues) score.push_back(cue.label);
    ASSERT_EQ(score.size(), 19u);

    testsupport::AudioDriver driver("dummy");
    Music music("demot.wav", 255);
    audio::setStreamSyncCallback(music.getStream(), stampAndDeliver);
    Music::getTag();
    music.play();
    const Clock::time_point start = Clock::now();

    // One whole pass, and the first three cues of the next.
    struct Read {
        std::string name;
        Clock::time_point at;
    };
    std::vector<Read> reads;
    Clock::time_point frame = start;
    while (reads.size() < score.size() + 3 && Clock::now() - start < 40s) {
        frame += 12ms;
        std::this_thread::sleep_until(frame);
        const std::string tag = Music::getTag();
        if (!tag.empty()) reads.push_back({tag, Clock::now()});
    }
    music.pause();

    std::vector<std::string> expected = score;
    expected.insert(expected.end(), score.begin(), score.begin() + 3);
    std::vector<std::string> names;
    for (const Read& read : reads) names.push_back(read.name);
    EXPECT_EQ(names, expected);

    std::lock_guard<std::mutex> hold(handedLock);
    ASSERT_GE(handed.size(), reads.size());
    std::vector<double> delays;
    // "read at" is when a frame read it, "in track" where the cue sits in
    // the music: the silent driver's clock runs a little off real time.
    std::printf("%-16s pass  read at (s)  in track (s)  handed->read (ms)\n", "cue");
    for (std::size_t i = 0; i < reads.size(); ++i) {
        ASSERT_EQ(handed[i].first, reads[i].name) << "a cue was read that was not the one handed over";
        const double delay = std::chrono::duration<double, std::milli>(reads[i].at - handed[i].second).count();
        delays.push_back(delay);
        const std::size_t pass = i / score.size();
        std::printf("%-16s %4zu  %11.3f  %12.3f  %17.1f\n", reads[i].name.c_str(), pass + 1,
                    std::chrono::duration<double>(reads[i].at - start).count(),
                    (pass * track.frames() + track.cues[i % score.size()].frame) / 44100.0, delay);
    }
    std::sort(delays.begin(), delays.end());
    const double median = delays[delays.size() / 2];
    std::printf("delay handed->read: median %.1f ms, worst %.1f ms over %zu cues\n", median, delays.back(),
                delays.size());
    // Within a frame period of 12 ms. The median, so that a busy machine
    // descheduling the reader now and then does not fail the run.
    EXPECT_LT(median, 16.0);
}
