// The live show's options, each seen from outside: the real binary on a
// virtual display, its window read back with xwininfo, its picture with a
// screenshot, its sound device through SDL's disk driver and its GLX calls
// through the preloaded log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ShowProcess.h"
#include "audio/WavFile.h"
#include "music/Cues.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kShowOutput = "TileFile 1 6408\nTileFile 1 6408\n" + [] {
    std::string lines;
    for (int i = 0; i < 7; ++i) lines += "what to do? I exit!!\n";
    return lines;
}();

// Waits until the show has drawn `frames` frames; the music starts just
// before the first. The time of the first, or -1 when they did not come.
std::int64_t waitForFrames(const e2e::ShowProcess& show, size_t frames) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (show.swapsSoFar() >= frames) return show.firstSwapUs().value_or(-1);
        std::this_thread::sleep_for(10ms);
    }
    return -1;
}

// Share of the pixels in columns [x0, x1) brighter than `threshold`.
double litShare(const e2e::Screenshot& shot, int x0, int x1, int threshold) {
    int lit = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (shot.channel(x, y, 0) > threshold || shot.channel(x, y, 1) > threshold ||
                shot.channel(x, y, 2) > threshold) {
                ++lit;
            }
        }
    }
    return static_cast<double>(lit) / ((x1 - x0) * shot.height);
}

std::string scratchPath(const std::string& stem) {
    return std::string(MARROWICK_BINARY_DIR) + "/e2e-" + stem + "-" + std::to_string(::getpid());
}

}  // namespace

TEST(ShowOptionsRun, WindowIsTheSizeAskedForAndStaysSo) {
    const struct {
        std::vector<std::string> arguments;
        int width, height;
    } cases[] = {{{"--window=800x600"}, 800, 600}, {{"--window"}, 1024, 768}};
    e2e::VirtualDisplay display(1280, 1024);
    for (const auto& c : cases) {
        e2e::ShowProcess show(e2e::shortPackDir(), display.name(), c.arguments);
        // Full screen would have taken over by the time frames are drawn.
        ASSERT_GT(waitForFrames(show, 20), 0) << c.arguments.front() << ": " << show.wait(0ms).output;
        const auto window = e2e::findWindow("Marrowick", display.name(), 5s);
        ASSERT_TRUE(window.has_value()) << c.arguments.front();
        EXPECT_EQ(window->width, c.width) << c.arguments.front();
        EXPECT_EQ(window->height, c.height) << c.arguments.front();
    }
}

// On a 16:9 screen the 4:3 area is 960 of its 1280 columns. From the
// queen's card to the peasants' cue the chess room fills it, under the card
// or alone, dark in places but nowhere quite black out to its edges; the
// cleared bars are black to the bit. The screenshot is taken once the music
// has reached the card's cue, by the show's own log, and the show is full
// screen, and must be done before the music reaches the peasants' cue
// nearly five seconds later.
TEST(ShowOptionsRun, KeepAspectLeavesBlackBarsBesideTheShow) {
    const WavSound track = loadWav(e2e::shortPackDir() + "/demot.wav").value();
    const auto moment = static_cast<std::uint64_t>(e2e::cueSeconds(track, cue::kQueenText) * 1000);
    const auto roomEnds = static_cast<std::uint64_t>(e2e::cueSeconds(track, cue::kPesants) * 1000);
    const struct {
        std::vector<std::string> arguments;
        int bar;  // columns of black on each side
    } cases[] = {{{"--keep-aspect"}, 160}, {{}, 0}};
    e2e::VirtualDisplay display(1280, 720);
    for (const auto& c : cases) {
        const std::string log = scratchPath("bars-" + std::to_string(c.bar) + ".log");
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--timings", log});
        e2e::ShowProcess show(e2e::shortPackDir(), display.name(), arguments);
        ASSERT_TRUE(e2e::waitForShowTime(log, moment, 60s).has_value()) << "the music never reached the card";
        // Full screen comes once the main loop runs, as the X server gets to
        // it: a loaded one can still show the first window then. The grab
        // waits for it, and for frames drawn at the size it gives.
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        auto window = e2e::findWindow("Marrowick", display.name(), 5s);
        while (window && window->width != 1280 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(50ms);
            window = e2e::findWindow("Marrowick", display.name(), 5s);
        }
        ASSERT_TRUE(window && window->width == 1280) << "the show never went full screen";
        const std::size_t drawn = e2e::readFrameLog(log).size();
        const auto redrawn = std::chrono::steady_clock::now() + 30s;
        while (e2e::readFrameLog(log).size() < drawn + 3 && std::chrono::steady_clock::now() < redrawn) {
            std::this_thread::sleep_for(5ms);
        }
        const std::string png = "e2e-bars-" + std::to_string(c.bar) + ".png";
        std::uint64_t grabbedBy = 0;
        const e2e::Screenshot shot =
            e2e::takeScreenshot(display.name(), png, [&] { grabbedBy = e2e::readFrameLog(log).back().showMs; });
        fs::remove(log);
        ASSERT_LT(grabbedBy, roomEnds) << "the screenshot was done only at " << grabbedBy << " ms of music: " << png;
        ASSERT_EQ(shot.width, 1280) << png;
        const int right = shot.width - c.bar;
        const double leftEdge = litShare(shot, c.bar, c.bar + 4, 0), rightEdge = litShare(shot, right - 4, right, 0);
        std::printf("bars of %d: the picture's outer columns lit %.2f and %.2f (%s)\n", c.bar, leftEdge, rightEdge,
                    png.c_str());
        EXPECT_GT(leftEdge, 0.5) << "the picture does not reach its left edge: " << png;
        EXPECT_GT(rightEdge, 0.5) << "the picture does not reach its right edge: " << png;
        if (c.bar > 0) {
            EXPECT_EQ(litShare(shot, 0, c.bar, 0), 0.0) << "left bar not black: " << png;
            EXPECT_EQ(litShare(shot, right, shot.width, 0), 0.0) << "right bar not black: " << png;
        }
    }
}

// SDL's disk driver writes what it plays to a file, at the pace of a sound
// card (and says so on standard error). Either way the show follows the
// music, and its log shows it: every frame names the cue the music had
// reached, and the show ends on the closing cue. Muted, the music runs on
// the show's own clock, which keeps the wall clock's pace; with a device,
// the device had played the closing cue before the show ended.
TEST(ShowOptionsRun, ReachesTheClosingCueOnTimeFromAnotherFolderAndMuted) {
    const WavSound track = loadWav(e2e::shortPackDir() + "/demot.wav").value();
    const double closing = e2e::cueSeconds(track, cue::kFadeToCredits);
    const std::string elsewhere = scratchPath("elsewhere");
    fs::create_directories(elsewhere);
    const std::string sound = scratchPath("sound.raw");
    const std::string log = scratchPath("frames.log");
    const struct {
        std::vector<std::string> arguments;
        std::string folder;
        bool deviceOpened;
    } cases[] = {
        {{"--data", e2e::shortPackDir()}, elsewhere, true},
        {{"--mute"}, e2e::shortPackDir(), false},
    };
    e2e::VirtualDisplay display(640, 480);
    for (const auto& c : cases) {
        fs::remove(sound);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--timings", log});
        e2e::ShowProcess show(c.folder, display.name(), arguments,
                              {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", sound}});
        const e2e::ShowResult result = show.wait(120s);
        const std::string what = c.arguments.front();
        ASSERT_TRUE(result.exited) << what << ": did not end";
        EXPECT_EQ(result.exitCode, 0) << what;
        EXPECT_EQ(result.output, kShowOutput) << what;
        EXPECT_EQ(fs::exists(sound), c.deviceOpened) << what;
        const std::vector<e2e::LoggedFrame> frames = e2e::readFrameLog(log);
        ASSERT_GT(frames.size(), 20u) << what;
        EXPECT_TRUE(e2e::namesTheCueTheMusicReached(frames, track)) << what;
        EXPECT_TRUE(e2e::endsOnTheClosingCue(frames, track)) << what;
        if (c.deviceOpened) {
            const double played = static_cast<double>(fs::file_size(sound)) / (2.0 * track.channels) / track.sampleRate;
            std::printf("%s: the device played %.2f s of music, the closing cue is at %.2f s\n", what.c_str(), played,
                        closing);
            EXPECT_GE(played, closing) << what << ": ended before the device played the closing cue";
        } else {
            // The music's time against the wall clock's, taken at the start
            // of a frame and at its swap: what lies between them is the
            // drawing, as long at the end as at the start.
            const auto lag = [&](std::size_t from, std::size_t to) {
                std::vector<double> lags;
                for (std::size_t i = from; i < to; ++i) lags.push_back(frames[i].swapUs / 1000.0 - frames[i].showMs);
                std::nth_element(lags.begin(), lags.begin() + lags.size() / 2, lags.end());
                return lags[lags.size() / 2];
            };
            const std::size_t tenth = frames.size() / 10;
            const double drift = lag(frames.size() - tenth, frames.size()) - lag(0, tenth);
            std::printf("%s: the music fell %.0f ms behind the wall clock over %.2f s\n", what.c_str(), drift,
                        (frames.back().swapUs - frames.front().swapUs) / 1e6);
            EXPECT_NEAR(drift, 0.0, 150.0) << what << ": the muted music does not keep the wall clock's pace";
        }
        fs::remove(log);
    }
    fs::remove(sound);
    fs::remove_all(elsewhere);
}

// Refused before anything is read or opened: run with no display at all, a
// show that got as far as GLUT would end with GLUT's own error and code 1.
// A usage error is its one line and a pointer to --help; the other refusals
// are one line alone.
TEST(ShowOptionsRun, BadOptionsEndWithCodeTwoBeforeAnyWindow) {
    const std::string tryHelp = "Try 'marrowick --help' for more information.\n";
    const struct {
        std::vector<std::string> arguments;
        std::string folder;
        std::string says;
        bool usage;
    } cases[] = {
        {{"--window=800"}, e2e::shortPackDir(), "--window: expected WIDTHxHEIGHT", true},
        {{"--mute=yes"}, e2e::shortPackDir(), "--mute takes no value", true},
        {{"--data"}, e2e::shortPackDir(), "--data needs a value", true},
        {{"--keep-aspect", "--capture", "a.mp4"}, e2e::shortPackDir(), "--keep-aspect is for the show on screen", true},
        {{"--data", "/nonexistent/pack"}, e2e::shortPackDir(), "--data: cannot enter /nonexistent/pack", false},
        // A span with no frame of the show in it.
        {{"--from", cue::kFadeToCredits}, e2e::shortPackDir(), "at or after the closing cue", false},
        {{"--to", "0"}, e2e::shortPackDir(), "is where the show starts", false},
        {{"--window", "800x600"},
         e2e::shortPackDir(),
         "--window takes its value after '=': write --window=800x600",
         true},
        {{"--data", "/nonexistent/pa\tck\n"},
         e2e::shortPackDir(),
         "--data: cannot enter /nonexistent/pa\\tck\\n: ",
         false},
        // A moment is checked against the music before any window opens.
        {{"--from", "1:99"},
         e2e::shortPackDir(),
         "--from: \"1:99\" is neither a cue of the music nor a time (42, 42.5, 1:02.250); its cues are queenRoll, ",
         false},
        {{"--to", "4x"}, e2e::shortPackDir(), "--to: \"4x\" is neither a cue of the music nor a time", false},
        {{"--from", "noSuchCue"},
         e2e::shortPackDir(),
         "--from: the music has no cue named \"noSuchCue\"; its cues are queenRoll, ",
         false},
    };
    for (const auto& c : cases) {
        e2e::ShowProcess show(c.folder, "", c.arguments);
        const e2e::ShowResult result = show.wait(10s);
        const std::string what = c.arguments.front();
        EXPECT_TRUE(result.exited) << what;
        EXPECT_EQ(result.exitCode, 2) << what << ": " << result.errors;
        EXPECT_EQ(result.output, "") << what;
        EXPECT_EQ(result.errors.rfind("marrowick: ", 0), 0u) << what << " said: " << result.errors;
        EXPECT_NE(result.errors.find(c.says), std::string::npos) << what << " said: " << result.errors;
        EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), c.usage ? 2 : 1) << result.errors;
        const bool pointsToHelp =
            result.errors.size() > tryHelp.size() &&
            result.errors.compare(result.errors.size() - tryHelp.size(), tryHelp.size(), tryHelp) == 0;
        EXPECT_EQ(pointsToHelp, c.usage) << what << " said: " << result.errors;
    }
}

// The preloaded log plays a driver offering the named extensions.
TEST(ShowOptionsRun, UnsyncedSwapsAreAskedForOnceAfterTheContextExists) {
    const struct {
        std::vector<std::string> arguments;
        const char* offered;
        std::vector<std::string> requests;
    } cases[] = {
        {{}, "GLX_SGI_swap_control GLX_EXT_swap_control", {"glXSwapIntervalEXT 0 current"}},
        {{}, "GLX_MESA_swap_control", {"glXSwapIntervalMESA 0 current"}},
        {{}, "GLX_SGI_swap_control", {"glXSwapIntervalSGI 0 current"}},
        {{}, "GLX_EXT_swap_control_tear", {}},
        {{"--vsync"}, "GLX_EXT_swap_control GLX_MESA_swap_control", {}},
    };
    e2e::VirtualDisplay display(640, 480);
    for (const auto& c : cases) {
        e2e::ShowProcess show(e2e::shortPackDir(), display.name(), c.arguments, {{"MARROWICK_GLX_OFFER", c.offered}});
        EXPECT_GT(waitForFrames(show, 30), 0) << c.offered << ": the show did not draw";
        const e2e::ShowResult result = show.wait(0ms);
        EXPECT_EQ(result.swapIntervalRequests, c.requests) << c.offered;
    }
}

TEST(ShowOptionsRun, ListCuesGivesEachCueItsOwnTime) {
    const WavSound track = loadWav(e2e::shortPackDir() + "/demot.wav").value();
    std::string expected;
    for (const WavCue& cue : track.cues) {
        if (!cue.labelled) continue;
        // To the nearest millisecond, whatever frame first reads it.
        const std::uint64_t ms = (std::uint64_t{cue.frame} * 1000 + track.sampleRate / 2) / track.sampleRate;
        char line[64];
        std::snprintf(line, sizeof line, "%llu:%02llu.%03llu  ", static_cast<unsigned long long>(ms / 60000),
                      static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms % 1000));
        expected += line + cue.label + "\n";
    }
    ASSERT_FALSE(expected.empty());
    e2e::ShowProcess show(e2e::shortPackDir(), "", {"--list-cues"});
    const e2e::ShowResult result = show.wait(10s);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, expected);
}
