// The whole show, launch to closing cue, as a viewer gets it: the real binary
// on a virtual display with SDL's dummy audio. Moments are picked on the
// music's clock, which starts with the first frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "ShowProcess.h"
#include "audio/WavFile.h"
#include "music/Cues.h"

using namespace std::chrono_literals;

namespace {

const std::string kHeader = "TileFile 1 6408\n";
const std::string kClosingLine = "what to do? I exit!!\n";

std::string closingLines(int models) {
    std::string lines;
    for (int i = 0; i < models; ++i) lines += kClosingLine;
    return lines;
}

// Waits for the first frame; the music starts just before it.
std::int64_t musicStartUs(const e2e::ShowProcess& show) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (auto first = show.firstSwapUs()) return *first;
        std::this_thread::sleep_for(10ms);
    }
    return -1;
}

void sleepUntil(std::int64_t startUs, double seconds) {
    const std::int64_t target = startUs + static_cast<std::int64_t>(seconds * 1e6);
    while (e2e::nowUs() < target) std::this_thread::sleep_for(5ms);
}

struct Colour {
    double r, g, b;
};
Colour meanColour(const e2e::Screenshot& shot) { return {shot.mean(0), shot.mean(1), shot.mean(2)}; }
double distance(Colour a, Colour b) { return std::hypot(a.r - b.r, a.g - b.g, a.b - b.b); }

// Share of pixels brighter than 70 % grey: the glossy chess piece.
double brightFraction(const e2e::Screenshot& shot) {
    int bright = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const double grey =
                0.299 * shot.channel(x, y, 0) + 0.587 * shot.channel(x, y, 1) + 0.114 * shot.channel(x, y, 2);
            if (grey > 178) ++bright;
        }
    }
    return static_cast<double>(bright) / (shot.width * shot.height);
}

}  // namespace

// Each section is looked at a little over a second before the cue that ends
// it; the process ends on the closing cue. SDL's dummy driver plays about 3 %
// fast, which the margin covers.
TEST(ShowRun, PlaysEverySectionAndEndsOnTheClosingCue) {
    const WavSound track = loadWav(e2e::shortPackDir() + "/demot.wav").value();
    e2e::VirtualDisplay display(640, 480);
    e2e::ShowProcess show(e2e::shortPackDir(), display.name());
    const std::int64_t start = musicStartUs(show);
    ASSERT_GT(start, 0) << "no frame was drawn";

    struct Moment {
        const char* section;
        double seconds;
    };
    const Moment moments[] = {{"chess", e2e::cueSeconds(track, cue::kGraphical2) - 1.2},
                              {"ship", e2e::cueSeconds(track, cue::kScene3) - 1.2},
                              {"alien", e2e::cueSeconds(track, cue::kLittleChase) - 1.1},
                              {"credits", e2e::cueSeconds(track, cue::kFadeToCredits) - 1.1}};
    std::vector<Colour> colours;
    for (const Moment& moment : moments) {
        sleepUntil(start, moment.seconds);
        const std::string png = std::string("e2e-section-") + moment.section + ".png";
        const e2e::Screenshot shot = e2e::takeScreenshot(display.name(), png);
        ASSERT_EQ(shot.width, 640) << moment.section;
        const Colour mean = meanColour(shot);
        std::printf("%-8s lit %.2f, mean colour %.0f %.0f %.0f (%s)\n", moment.section, shot.litFraction(), mean.r,
                    mean.g, mean.b, png.c_str());
        EXPECT_GT(shot.litFraction(), 0.3) << moment.section << " is mostly black: " << png;
        colours.push_back(mean);
    }
    // The tumbling chess cube is marble white and green; the ship's sky is
    // blue over green; the alien stage is mostly black around chrome; the
    // credits are a full-screen card.
    EXPECT_GT(colours[0].g, colours[0].r) << "chess cube: green marble";
    EXPECT_GT(colours[1].b + colours[1].g, 1.5 * colours[1].r + 20) << "ship: sky and grass";
    for (size_t a = 0; a < colours.size(); ++a) {
        for (size_t b = a + 1; b < colours.size(); ++b) {
            EXPECT_GT(distance(colours[a], colours[b]), 12.0)
                << moments[a].section << " looks like " << moments[b].section;
        }
    }

    const e2e::ShowResult result = show.wait(20s);
    EXPECT_TRUE(result.exited) << "the show did not end on its closing cue";
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, kHeader + kHeader + closingLines(7));
}

// The full track's first cue comes at 4.8 s: before it, only the space bar
// can roll the view up from the board.
TEST(ShowRun, SpaceBarRestartsTheRoll) {
    e2e::VirtualDisplay display(640, 480);
    e2e::ShowProcess show(e2e::fullPackDir(), display.name());
    const std::int64_t start = musicStartUs(show);
    ASSERT_GT(start, 0) << "no frame was drawn";

    sleepUntil(start, 1.5);
    const e2e::Screenshot board = e2e::takeScreenshot(display.name(), "e2e-space-before.png");
    e2e::runCommand("xdotool keydown space sleep 0.05 keyup space", display.name());
    sleepUntil(start, 3.6);
    const e2e::Screenshot rolled = e2e::takeScreenshot(display.name(), "e2e-space-after.png");

    // Looking down from above, the queen is small; rolled, the view comes
    // down to her and she fills much of the screen.
    const double before = brightFraction(board);
    const double after = brightFraction(rolled);
    std::printf("queen's share of the screen: %.3f before the press, %.3f after\n", before, after);
    EXPECT_GT(before, 0.002) << "the queen should be in view";
    EXPECT_GT(after, 2.5 * before) << "the view did not roll down to the queen";
}

// A machine too slow for the frame period (every frame held to 40 ms), with
// every core kept busy besides. Frames count motion, so the sections run
// slower, but the cues still come on the music's clock, one read a frame: the
// show still goes through every section (a lost section cue would leave it
// waiting for ever) and ends on its closing cue, on time.
TEST(ShowRun, ASlowAndBusyMachineStillMeetsEveryCueAndEndsOnTime) {
    const WavSound track = loadWav(e2e::shortPackDir() + "/demot.wav").value();
    e2e::VirtualDisplay display(640, 480);
    e2e::BusyCores busy;
    e2e::ShowProcess show(e2e::shortPackDir(), display.name(), {}, {{"MARROWICK_SWAP_MIN_PERIOD_US", "40000"}});
    const e2e::ShowResult result = show.wait(60s);
    ASSERT_TRUE(result.exited) << "the show never reached its closing cue";
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, kHeader + kHeader + closingLines(7));

    const std::vector<std::int64_t>& swaps = result.swapTimesUs;
    ASSERT_GT(swaps.size(), 100u);
    std::vector<std::int64_t> periods;
    for (size_t i = 1; i < swaps.size(); ++i) periods.push_back(swaps[i] - swaps[i - 1]);
    std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
    const double medianMs = periods[periods.size() / 2] / 1000.0;
    EXPECT_GE(medianMs, 40.0) << "the frames were not slowed";

    // Two cues passed within one frame: only the later is read. The music
    // starts with the first frame.
    std::int64_t closingUs = 0;
    int sharedFrame = 0;
    size_t previousFrame = swaps.size();
    for (const WavCue& point : track.cues) {
        const std::int64_t at = swaps.front() + static_cast<std::int64_t>(point.frame * 1e6 / track.sampleRate);
        const size_t frame = std::upper_bound(swaps.begin(), swaps.end(), at) - swaps.begin();
        if (frame == previousFrame) ++sharedFrame;
        previousFrame = frame;
        if (point.label == cue::kFadeToCredits) closingUs = at;
    }
    const double endedLate = (result.endedUs - closingUs) / 1e6;
    std::printf(
        "%zu frames, median %.1f ms apart; %d of %zu cues lost to a shared frame; ended %.2f s after "
        "the closing cue's time\n",
        swaps.size(), medianMs, sharedFrame, track.cues.size(), endedLate);
    // SDL's dummy driver plays about 3 % fast.
    EXPECT_NEAR(endedLate, -0.03 * (closingUs - swaps.front()) / 1e6, 0.6);
}
