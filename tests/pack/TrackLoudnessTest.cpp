// The full track's shape as a listener's meter sees it: EBU R128 loudness,
// read from ffmpeg's ebur128 filter (the meter others trust; scripts/setup
// installs ffmpeg). The show's picture is levelled against the integrated
// loudness, and its section changes are felt where the music moves with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "WorkingDirectory.h"
#include "audio/WavFile.h"
#include "pack/PackContext.h"
#include "pack/music/MusicGenerator.h"
#include "pack/music/Score.h"

namespace fs = std::filesystem;

namespace {

// Momentary (400 ms) and short-term (3 s) loudness every 100 ms, each over
// the window that ends at `seconds`; and the whole track's figures.
struct Loudness {
    struct Moment {
        double seconds;
        double momentary;
        double shortTerm;
    };
    std::vector<Moment> moments;
    double integrated = NAN;  // LUFS
    double range = NAN;       // LU
    double truePeak = NAN;    // dBTP

    // The last window that ends at or before `seconds`.
    const Moment& at(double seconds) const {
        auto after = std::upper_bound(moments.begin(), moments.end(), seconds + 1e-3,
                                      [](double s, const Moment& m) { return s < m.seconds; });
        return after == moments.begin() ? *after : *(after - 1);
    }
};

bool measure(const fs::path& wav, Loudness& out, std::string& log) {
    const std::string command =
        "ffmpeg -nostdin -nostats -hide_banner -i '" + wav.string() + "' -af ebur128=peak=true -f null - 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    char line[512];
    bool summary = false;
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        log += line;
        Loudness::Moment m{};
        const char* frame = std::strstr(line, " t: ");
        if (!summary && frame != nullptr &&
            std::sscanf(frame, " t: %lf TARGET:%*s LUFS M: %lf S: %lf", &m.seconds, &m.momentary, &m.shortTerm) == 3) {
            out.moments.push_back(m);
        }
        if (std::strstr(line, "Summary:") != nullptr) summary = true;
        if (!summary) continue;
        std::sscanf(line, " I: %lf LUFS", &out.integrated);
        std::sscanf(line, " LRA: %lf LU", &out.range);
        std::sscanf(line, " Peak: %lf dBFS", &out.truePeak);
    }
    return pclose(pipe) == 0 && !out.moments.empty() && !std::isnan(out.integrated) && !std::isnan(out.range) &&
           !std::isnan(out.truePeak);
}

// Stretches of at least `minSeconds` between `from` and `to` where the
// short-term loudness stays at least `below` LU under the integrated loudness.
std::vector<std::pair<double, double>> breakdowns(const Loudness& loudness, double from, double to, double below,
                                                  double minSeconds) {
    std::vector<std::pair<double, double>> found;
    double start = -1;
    for (const Loudness::Moment& m : loudness.moments) {
        const bool quiet = m.seconds >= from && m.seconds <= to && m.shortTerm <= loudness.integrated - below;
        if (quiet && start < 0) start = m.seconds;
        if (!quiet && start >= 0) {
            if (m.seconds - start >= minSeconds) found.emplace_back(start, m.seconds);
            start = -1;
        }
    }
    return found;
}

}  // namespace

TEST(TrackLoudness, FullTrackMovesWithTheShowAtThePicturesLevel) {
    testsupport::ScratchDirectory scratch;
    PackContext pack;
    pack.outDir = scratch.path();
    writeMusic(pack);
    const fs::path path = pack.outDir / "demot.wav";
    const WavSound wav = loadWav(path.string()).value();
    Loudness loudness;
    std::string log;
    ASSERT_TRUE(measure(path, loudness, log)) << "ffmpeg's ebur128 did not measure the track:\n" << log;

    // Mastered for the picture: its level is tuned to -12 LUFS; nothing over
    // -1 dBFS between the samples either.
    EXPECT_NEAR(loudness.integrated, -12.0, 1.0);
    EXPECT_LE(loudness.truePeak, -1.0);
    // Quiet and loud sections, not one wall of sound.
    EXPECT_GE(loudness.range, 5.0);
    const auto quiet = breakdowns(loudness, 8.0, 100.0, 6.0, 2.0);
    EXPECT_GE(quiet.size(), 2u) << "breakdowns 6 LU under the track for 2 s or more";

    // Each change of section is heard: the music rises within two bars after
    // the cue, or a fill swells into it, its last 400 ms louder than the same
    // moment a bar before.
    const double bar = static_cast<double>(score::kBarFrames) / score::kSampleRate;
    for (const char* name : {"pesants", "graphical2", "scene3", "littleChase", "fadeToCredits"}) {
        SCOPED_TRACE(name);
        const auto cue =
            std::find_if(wav.cues.begin(), wav.cues.end(), [&](const WavCue& c) { return c.label == name; });
        ASSERT_NE(cue, wav.cues.end());
        const double at = static_cast<double>(cue->frame) / wav.sampleRate;
        double after = -HUGE_VAL;
        for (const Loudness::Moment& m : loudness.moments) {
            if (m.seconds > at && m.seconds <= at + 2 * bar) after = std::max(after, m.shortTerm);
        }
        const double rise = after - loudness.at(at).shortTerm;
        const double fill = loudness.at(at).momentary - loudness.at(at - bar).momentary;
        EXPECT_TRUE(rise >= 3.0 || fill >= 3.0) << "rise " << rise << " LU, fill " << fill << " LU";
    }
}
