// The player in a real window under Xvfb: keys sent to the window reach it,
// and its own frame log shows what they did — nothing while paused, then a
// jump to the next cue, one frame stepped, the wrap of a loop — and Esc ends it;
// `s` saves the frame on screen.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ShowProcess.h"
#include "WorkingDirectory.h"
#include "audio/WavFile.h"
#include "show/FrameLimiter.h"
#include "show/ShowSpan.h"

using namespace std::chrono_literals;

namespace {

void press(const std::string& key, const std::string& display) {
    e2e::runCommand("xdotool search --name '^Marrowick$' key --window %1 " + key, display);
}

}  // namespace

TEST(PlayerRun, KeysReachThePlayerAndEscEndsIt) {
    const WavSound track = loadWav(e2e::shortPackDir() + "/demot.wav").value();
    std::set<std::uint64_t> chapterStarts;
    for (const Chapter& chapter : chaptersOf(track.cues, track.sampleRate, kShowFramePeriodMs)) {
        chapterStarts.insert(chapter.frame * kShowFramePeriodMs);
    }
    const testsupport::ScratchDirectory scratch;
    const std::string log = (scratch.path() / "player-frames.log").string();
    e2e::VirtualDisplay display(640, 480);
    e2e::ShowProcess show(e2e::shortPackDir(), display.name(), {"--player", "--window=320x240", "--timings", log});
    ASSERT_TRUE(e2e::findWindow("Marrowick", display.name(), 30s));
    // Each key's frame is waited for in the log: a loaded machine draws it
    // late, and the test would press the next key first.
    const auto waitForFrames = [&](std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (e2e::readFrameLog(log).size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(10ms);
        }
        return e2e::readFrameLog(log).size() >= count;
    };
    ASSERT_TRUE(waitForFrames(20)) << "the player hardly drew";

    // Paused, every key's effect is one frame of its own, a while after the last.
    press("p", display.name());
    std::this_thread::sleep_for(1000ms);
    const std::size_t paused = e2e::readFrameLog(log).size();
    press("Right", display.name());
    ASSERT_TRUE(waitForFrames(paused + 1)) << "Right drew no frame";
    std::this_thread::sleep_for(400ms);
    press("period", display.name());
    ASSERT_TRUE(waitForFrames(paused + 2)) << "'.' drew no frame";
    std::this_thread::sleep_for(400ms);
    press("p", display.name());
    press("l", display.name());
    // The loop's span is one cue to the next, a second of music.
    const auto wrapDeadline = std::chrono::steady_clock::now() + 30s;
    for (bool wrapped = false; !wrapped && std::chrono::steady_clock::now() < wrapDeadline;) {
        std::this_thread::sleep_for(100ms);
        const std::vector<e2e::LoggedFrame> sofar = e2e::readFrameLog(log);
        for (std::size_t i = paused + 3; i < sofar.size(); ++i)
            wrapped = wrapped || sofar[i].showMs < sofar[i - 1].showMs;
    }
    press("Escape", display.name());
    const e2e::ShowResult result = show.wait(30s);
    ASSERT_TRUE(result.exited) << "Esc did not end the show";
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output.substr(0, 32), "TileFile 1 6408\nTileFile 1 6408\n");

    const std::vector<e2e::LoggedFrame> frames = e2e::readFrameLog(log);
    ASSERT_GT(frames.size(), paused + 2);
    bool jumped = false, stepped = false, wrapped = false;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        const e2e::LoggedFrame& before = frames[i - 1];
        const e2e::LoggedFrame& now = frames[i];
        const bool afterAWhile = now.swapUs - before.swapUs > 300000;
        // Right, a second into the pause: the next cue's first frame.
        jumped = jumped || (afterAWhile && now.showMs > before.showMs + kShowFramePeriodMs &&
                            chapterStarts.count(now.showMs) > 0);
        // Then a step: the one frame after it.
        stepped = stepped || (jumped && afterAWhile && now.showMs == before.showMs + kShowFramePeriodMs);
        // Nothing but the loop goes back in time here.
        wrapped = wrapped || now.showMs < before.showMs;
    }
    std::string shown;
    for (const e2e::LoggedFrame& frame : frames) shown += std::to_string(frame.showMs) + " ";
    SCOPED_TRACE("show times logged: " + shown);
    EXPECT_TRUE(jumped) << "no jump to the next cue after Right";
    EXPECT_TRUE(stepped) << "no single frame stepped while paused";
    EXPECT_TRUE(wrapped) << "the loop did not wrap back to its cue";
}

TEST(PlayerRun, SSavesTheFrameOnScreenAndNeverOverAFile) {
    // The show's current folder is the scratch folder, where the frames go.
    const testsupport::ScratchDirectory scratch;
    const std::string log = (scratch.path() / "player-frames.log").string();
    e2e::VirtualDisplay display(640, 480);
    e2e::ShowProcess show(scratch.path().string(), display.name(),
                          {"--data", e2e::shortPackDir(), "--player", "--window=320x240", "--timings", log});
    const std::optional<e2e::WindowInfo> window = e2e::findWindow("Marrowick", display.name(), 10s);
    ASSERT_TRUE(window);
    while (show.swapsSoFar() < 20) std::this_thread::sleep_for(10ms);

    // Paused on the next cue's first frame, saved twice: the same frame
    // under two names, the second never over the first.
    press("p", display.name());
    std::this_thread::sleep_for(500ms);
    press("Right", display.name());
    std::this_thread::sleep_for(500ms);
    press("s", display.name());
    std::this_thread::sleep_for(500ms);
    press("s", display.name());
    // Both written, however slowly a loaded machine gets to them.
    const auto savedFrames = [&] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
            const std::string name = entry.path().filename().string();
            count += name.rfind("marrowick-", 0) == 0 && entry.path().extension() == ".png" ? 1 : 0;
        }
        return count;
    };
    for (int waited = 0; savedFrames() < 2 && waited < 300; ++waited) std::this_thread::sleep_for(100ms);
    const e2e::Screenshot screen = e2e::takeScreenshot(display.name(), (scratch.path() / "screen.png.shot").string());
    press("Escape", display.name());
    const e2e::ShowResult result = show.wait(10s);
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 0);

    // Named after the frame last shown: its cue and its show time.
    const std::vector<e2e::LoggedFrame> frames = e2e::readFrameLog(log);
    ASSERT_FALSE(frames.empty());
    const e2e::LoggedFrame& shown = frames.back();
    char time[32];
    std::snprintf(time, sizeof time, "%llum%06.3fs", static_cast<unsigned long long>(shown.showMs / 60000),
                  static_cast<double>(shown.showMs % 60000) / 1000.0);
    const std::string stem = "marrowick-" + (shown.cue == "-" ? std::string("start") : shown.cue) + "-" + time;
    const std::string said =
        "marrowick: saved the frame as " + stem + ".png\nmarrowick: saved the frame as " + stem + "-2.png\n";
    EXPECT_NE(result.errors.find(said), std::string::npos) << result.errors;

    const testsupport::RgbaImage first = testsupport::readPng((scratch.path() / (stem + ".png")).string());
    const testsupport::RgbaImage second = testsupport::readPng((scratch.path() / (stem + "-2.png")).string());
    ASSERT_EQ(first.width, 320);
    ASSERT_EQ(first.height, 240);
    EXPECT_EQ(first.pixels, second.pixels);
    // Pixel for pixel what the window shows.
    int differing = 0, lit = 0;
    for (int y = 0; y < first.height; ++y) {
        for (int x = 0; x < first.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                differing += first.at(x, y)[c] != screen.channel(window->x + x, window->y + y, c) ? 1 : 0;
            }
            lit += first.at(x, y)[0] + first.at(x, y)[1] + first.at(x, y)[2] > 48 ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "bytes that differ from the window's";
    EXPECT_GT(lit, first.width * first.height / 10) << "the saved frame is nearly black";
}
