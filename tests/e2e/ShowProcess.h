// End-to-end support: a private Xvfb server, the real show binary started in
// a data directory with SDL's dummy audio, and what a viewer's desktop would
// offer (xwininfo, xdotool, a read-back of the screen) to look at it from
// outside.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ImageFiles.h"

struct WavSound;

namespace e2e {

class VirtualDisplay {
public:
    VirtualDisplay(int width, int height);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    const std::string& name() const { return name_; }  // ":N"

private:
    bool start(int width, int height);
    void stop();

    pid_t server_ = -1;
    std::string name_;
};

struct ShowResult {
    bool exited = false;  // false: still running when the test stopped it
    int exitCode = -1;
    std::string output;  // everything written to standard output
    std::string errors;  // and to standard error
    std::vector<std::int64_t> swapTimesUs;
    std::vector<std::string> swapIntervalRequests;  // "function interval current|none"
    std::int64_t endedUs = 0;                       // when the process was seen to end (see nowUs)
};

using Environment = std::vector<std::pair<std::string, std::string>>;

class ShowProcess {
public:
    // Starts the show in `dataDir`; `display` empty means no X server at all.
    // `environment` is set after the usual variables, so it can replace them.
    ShowProcess(const std::string& dataDir, const std::string& display, const std::vector<std::string>& arguments = {},
                const Environment& environment = {});
    ~ShowProcess();
    ShowProcess(const ShowProcess&) = delete;
    ShowProcess& operator=(const ShowProcess&) = delete;

    // Waits for the process to end by itself, up to `limit`; stops it after.
    ShowResult wait(std::chrono::milliseconds limit);
    // Number of frames swapped so far, and the time of the first (steady
    // clock, microseconds), once there is one.
    size_t swapsSoFar() const;
    std::optional<std::int64_t> firstSwapUs() const;

private:
    ShowResult collect(bool exited, int status);

    pid_t pid_ = -1;
    std::string outputPath_;
    std::string errorPath_;
    std::string swapLogPath_;
    std::string callLogPath_;
};

// Other processes keeping every core busy for as long as this lives.
class BusyCores {
public:
    BusyCores();
    ~BusyCores();
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;

private:
    std::vector<pid_t> spinners_;
};

// Seconds into the track of its cue with this name; throws when there is none.
double cueSeconds(const WavSound& track, const char* name);

// One line of the show's own --timings log: the section the frame showed,
// its swap (wall clock, microseconds), where the music stood then (the
// player: its show time) and the last cue the music had passed ("-" for
// none). Tests time a run by it: the music is the clock the show follows,
// whatever pace a loaded machine leaves the sound driver.
struct LoggedFrame {
    std::int32_t section = 0;
    std::int64_t swapUs = 0;
    std::uint64_t showMs = 0;
    std::string cue;
};
std::vector<LoggedFrame> readFrameLog(const std::string& path);

// Waits, up to `limit`, for the log to hold a frame shown at or after
// `showMs`; that frame, or nothing.
std::optional<LoggedFrame> waitForShowTime(const std::string& logPath, std::uint64_t showMs,
                                           std::chrono::milliseconds limit);

// Every frame names the cue the music had passed when it was shown: the
// last at or before its music time, give or take the sound buffer that
// carries a cue and the time it is heard in one hand-over.
::testing::AssertionResult namesTheCueTheMusicReached(const std::vector<LoggedFrame>& frames, const WavSound& track);

// Each section hands over to the next within a few frames of the music
// passing the cue that ends it, and the sections come in order.
::testing::AssertionResult sectionsEndOnTheirCues(const std::vector<LoggedFrame>& frames, const WavSound& track);

// The frame that reads the closing cue ends the show unseen, so the last
// frame logged is the one before it: the music then stood within one frame's
// step of the cue, and no earlier frame had seen it.
::testing::AssertionResult endsOnTheClosingCue(const std::vector<LoggedFrame>& frames, const WavSound& track);

// Output of a command run through the shell, with DISPLAY set.
std::string runCommand(const std::string& command, const std::string& display);

struct WindowInfo {
    int x = 0, y = 0, width = 0, height = 0;
};
// The geometry of the top-level window with this title, once it is mapped.
std::optional<WindowInfo> findWindow(const std::string& title, const std::string& display,
                                     std::chrono::milliseconds limit);

struct Screenshot : testsupport::RgbaImage {
    std::uint8_t channel(int x, int y, int c) const { return at(x, y)[c]; }
    // Share of pixels brighter than a threshold, and the mean colour.
    double litFraction(int threshold = 24) const;
    double mean(int c) const;
};
// Takes a PNG of the root window (kept at `pngPath` for a person to look at).
// `grabbed` runs as soon as the screen is read back, before the picture is
// decoded and written: what it sees of the show is no later than the grab.
Screenshot takeScreenshot(const std::string& display, const std::string& pngPath,
                          const std::function<void()>& grabbed = {});

// Now on the clock the swap log uses, in microseconds.
std::int64_t nowUs();

// The directories holding the short test pack and the full pack, made by the
// "short_pack" and "full_pack" fixtures.
std::string shortPackDir();
std::string fullPackDir();

}  // namespace e2e
