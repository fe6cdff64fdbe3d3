// The whole show, launch to closing cue, as a viewer gets it: the real binary
// on a virtual display with SDL's dummy audio. Moments are picked on the
// music's clock, as the show's own frame log reports it: the clock the show
// follows, whatever pace a loaded machine leaves the sound driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "ShowProcess.h"
#include "WorkingDirectory.h"
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

// The show's frame log, in a folder of its own.
struct FrameLogFile {
    testsupport::ScratchDirectory scratch;
    std::string path = (scratch.path() / "frames.log").string();
};

struct Colour {
    double r, g, b;
};
// The roll's frames; a small screen draws them soon on a loaded machine.
constexpr std::size_t kRollFrames = 100;
constexpr int kRollWidth = 320, kRollHeight = 240;
// A 512-frame buffer is 11.6 ms of music: held 50 ms, the music plays at a
// quarter of its pace, the first cue 19 s after the start.
constexpr const char* kSlowBufferMs = "50";

// Waits for the log to hold `count` frames.
bool waitForFrames(const std::string& logPath, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (e2e::readFrameLog(logPath).size() >= count) return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

Colour meanColour(const e2e::Screenshot& shot) { return {shot.mean(0), shot.mean(1), shot.mean(2)}; }
// The mean difference of two pictures of one size, over every channel of
// every pixel.
double difference(const e2e::Screenshot& a, const e2e::Screenshot& b) {
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
        if (i % 4 != 3) sum += std::abs(static_cast<int>(a.pixels[i]) - static_cast<int>(b.pixels[i]));
    }
    return sum / (3.0 * a.width * a.height);
}

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

// Each section is looked at a little over a second of music before the cue
// that ends it, and is still on screen when the screenshot is done; the
// process ends on the closing cue.
TEST(ShowRun, PlaysEverySectionAndEndsOnTheClosingCue) {
    const WavSound track = loadWav(e2e::shortPackDir() + "/demot.wav").value();
    const FrameLogFile log;
    e2e::VirtualDisplay display(640, 480);
    e2e::ShowProcess show(e2e::shortPackDir(), display.name(), {"--timings", log.path});

    // Frames count motion: a loaded machine draws fewer, so a moment of the
    // music finds the scene less far on. The alien stage is mostly black
    // around the chrome and the credits' card fades in: they are lit less.
    struct Moment {
        const char* section;
        std::int32_t state;
        double seconds;
        double lit;
    };
    const Moment moments[] = {{"chess", 1, e2e::cueSeconds(track, cue::kGraphical2) - 1.2, 0.3},
                              {"ship", 2, e2e::cueSeconds(track, cue::kScene3) - 1.2, 0.3},
                              {"alien", 3, e2e::cueSeconds(track, cue::kLittleChase) - 1.1, 0.1},
                              {"credits", 4, e2e::cueSeconds(track, cue::kFadeToCredits) - 1.1, 0.05}};
    std::vector<Colour> colours;
    std::vector<e2e::Screenshot> shots;
    for (const Moment& moment : moments) {
        const auto reached = e2e::waitForShowTime(log.path, static_cast<std::uint64_t>(moment.seconds * 1000), 60s);
        ASSERT_TRUE(reached.has_value()) << "the music never reached " << moment.seconds << " s";
        const std::string png = std::string("e2e-section-") + moment.section + ".png";
        const std::int64_t grabbing = e2e::nowUs();
        double grabMs = 0;
        std::vector<e2e::LoggedFrame> frames;
        const e2e::Screenshot shot = e2e::takeScreenshot(display.name(), png, [&] {
            grabMs = (e2e::nowUs() - grabbing) / 1000.0;
            frames = e2e::readFrameLog(log.path);
        });
        ASSERT_EQ(shot.width, 640) << moment.section;
        const Colour mean = meanColour(shot);
        std::printf("%-8s at %.2f s of music, grabbed in %.0f ms: lit %.2f, mean colour %.0f %.0f %.0f (%s)\n",
                    moment.section, reached->showMs / 1000.0, grabMs, shot.litFraction(), mean.r, mean.g, mean.b,
                    png.c_str());
        // Every frame shown from the moment to the end of the grab is the section's.
        EXPECT_EQ(reached->section, moment.state) << moment.section << ": another section at its moment";
        ASSERT_EQ(frames.back().section, moment.state)
            << moment.section << ": the section was over before the screenshot was done, at " << frames.back().showMs
            << " ms of music";
        EXPECT_GT(shot.litFraction(), moment.lit) << moment.section << " is mostly black: " << png;
        colours.push_back(mean);
        shots.push_back(shot);
    }
    // The tumbling chess cube is marble white and green; the ship's sky is
    // blue over green; the alien stage is mostly black around chrome; the
    // credits are a full-screen card.
    EXPECT_GT(colours[0].g, colours[0].r) << "chess cube: green marble";
    EXPECT_GT(colours[1].b + colours[1].g, 1.5 * colours[1].r + 20) << "ship: sky and grass";
    // Scenes that differ can still share a mean colour, on a loaded machine
    // that leaves each less far on: they are told apart pixel by pixel.
    for (size_t a = 0; a < shots.size(); ++a) {
        for (size_t b = a + 1; b < shots.size(); ++b) {
            const double apart = difference(shots[a], shots[b]);
            std::printf("%s and %s differ by %.1f a channel\n", moments[a].section, moments[b].section, apart);
            EXPECT_GT(apart, 15.0) << moments[a].section << " looks like " << moments[b].section;
        }
    }

    const e2e::ShowResult result = show.wait(60s);
    EXPECT_TRUE(result.exited) << "the show did not end on its closing cue";
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, kHeader + kHeader + closingLines(7));
    EXPECT_TRUE(e2e::endsOnTheClosingCue(e2e::readFrameLog(log.path), track));
}

// The full track's first cue comes at 4.8 s: before it, only the space bar
// can roll the view up from the board. The roll moves half a degree a frame
// for 100 frames, so it is looked at by the frames shown, not by the clock;
// and the music is played slower, through SDL's disk driver held a while
// after each buffer, so that a loaded machine draws them before that cue.
TEST(ShowRun, SpaceBarRestartsTheRoll) {
    const FrameLogFile log;
    e2e::VirtualDisplay display(kRollWidth, kRollHeight);
    e2e::ShowProcess show(
        e2e::fullPackDir(), display.name(), {"--timings", log.path},
        {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", "/dev/null"}, {"SDL_DISKAUDIODELAY", kSlowBufferMs}});
    ASSERT_TRUE(waitForFrames(log.path, 5)) << "no frame was drawn";

    const e2e::Screenshot board = e2e::takeScreenshot(display.name(), "e2e-space-before.png");
    const std::size_t pressed = e2e::readFrameLog(log.path).size();
    e2e::runCommand("xdotool keydown space sleep 0.05 keyup space", display.name());
    ASSERT_TRUE(waitForFrames(log.path, pressed + kRollFrames + 5)) << "the show stopped drawing";
    const e2e::Screenshot rolled = e2e::takeScreenshot(display.name(), "e2e-space-after.png");
    const std::vector<e2e::LoggedFrame> frames = e2e::readFrameLog(log.path);
    ASSERT_EQ(frames.back().cue, "-") << "the music's first cue, which rolls the view too, came before the roll "
                                         "was seen, at frame "
                                      << frames.size() << ", " << frames.back().showMs << " ms of music";

    // Looking down from above, the queen is small; rolled, the view comes
    // down to her and she fills much of the screen.
    const double before = brightFraction(board);
    const double after = brightFraction(rolled);
    std::printf(
        "queen's share of the screen: %.3f before the press, %.3f after, %zu frames and %llu ms of music "
        "later\n",
        before, after, frames.size() - pressed, static_cast<unsigned long long>(frames.back().showMs));
    EXPECT_GT(before, 0.002) << "the queen should be in view";
    EXPECT_GT(after, 2.5 * before) << "the view did not roll down to the queen";
}

// A machine too slow for the frame period (every frame held to 40 ms), with
// every core kept busy besides. Frames count motion, so the sections run
// slower, but the cues still come on the music's clock, one read a frame: the
// show still goes through every section, each ending on its cue (a lost
// section cue would leave it waiting for ever), and ends on its closing cue,
// all by the music's own clock, however the load paced the sound driver.
TEST(ShowRun, ASlowAndBusyMachineStillMeetsEveryCueAndEndsOnTime) {
    const WavSound track = loadWav(e2e::shortPackDir() + "/demot.wav").value();
    const FrameLogFile log;
    e2e::VirtualDisplay display(640, 480);
    e2e::BusyCores busy;
    e2e::ShowProcess show(e2e::shortPackDir(), display.name(), {"--timings", log.path},
                          {{"MARROWICK_SWAP_MIN_PERIOD_US", "40000"}});
    const e2e::ShowResult result = show.wait(120s);
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

    // Two cues passed within one frame: only the later is read, and the log
    // names only the later.
    const std::vector<e2e::LoggedFrame> frames = e2e::readFrameLog(log.path);
    const auto unnamed = std::count_if(track.cues.begin(), track.cues.end(), [&](const WavCue& point) {
        return std::none_of(frames.begin(), frames.end(),
                            [&](const e2e::LoggedFrame& f) { return f.cue == point.label; });
    });
    std::printf(
        "%zu frames, median %.1f ms apart; %ld of %zu cues passed with another in one frame; the last "
        "frame at %llu ms of music\n",
        swaps.size(), medianMs, static_cast<long>(unnamed), track.cues.size(),
        static_cast<unsigned long long>(frames.empty() ? 0 : frames.back().showMs));
    EXPECT_TRUE(e2e::namesTheCueTheMusicReached(frames, track));
    EXPECT_TRUE(e2e::sectionsEndOnTheirCues(frames, track));
    EXPECT_TRUE(e2e::endsOnTheClosingCue(frames, track));
}
