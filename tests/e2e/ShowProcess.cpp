#include "ShowProcess.h"

#include "audio/WavFile.h"
#include "music/Cues.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>

#include <time.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace e2e {
namespace {

constexpr int kObserverPriority = -10;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string uniquePath(const std::string& stem) {
    static int counter = 0;
    return std::string(MARROWICK_BINARY_DIR) + "/e2e-" + stem + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++);
}

}  // namespace

VirtualDisplay::VirtualDisplay(int width, int height) {
    // The test and its display server watch the show ahead of the load
    // beside it, where the system allows: a screenshot is read back, and a
    // moment seen, when it comes, not after every busy process has had its
    // turn. The show and the load run at the ordinary priority.
    ::setpriority(PRIO_PROCESS, 0, kObserverPriority);
    // A server can lose the race for a display number to another one starting
    // at the same moment; try again rather than fail the test.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (start(width, height)) return;
        stop();
    }
    throw std::runtime_error("Xvfb did not start");
}

bool VirtualDisplay::start(int width, int height) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return false;
    server_ = ::fork();
    if (server_ < 0) return false;
    if (server_ == 0) {
        ::close(pipeFds[0]);
        ::setpriority(PRIO_PROCESS, 0, kObserverPriority);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const std::string fd = std::to_string(pipeFds[1]);
        ::execlp("Xvfb", "Xvfb", "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset", "-displayfd",
                 fd.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    // The server writes its number and then a line end, possibly in two
    // writes: read through the line end, or the second write fails and the
    // server gives up.
    std::string number;
    char c = 0;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(pipeFds[0]);
    if (number.empty()) return false;
    name_ = ":" + number;
    // Ready once a client can connect.
    for (int wait = 0; wait < 100; ++wait) {
        if (::waitpid(server_, nullptr, WNOHANG) == server_) {
            server_ = -1;
            return false;
        }
        if (std::system(("DISPLAY=" + name_ + " xdpyinfo >/dev/null 2>&1").c_str()) == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

VirtualDisplay::~VirtualDisplay() { stop(); }

void VirtualDisplay::stop() {
    if (server_ > 0) {
        ::kill(server_, SIGTERM);
        ::waitpid(server_, nullptr, 0);
    }
    server_ = -1;
}

ShowProcess::ShowProcess(const std::string& dataDir, const std::string& display,
                         const std::vector<std::string>& arguments, const Environment& environment) {
    outputPath_ = uniquePath("stdout");
    errorPath_ = uniquePath("stderr");
    swapLogPath_ = uniquePath("swaps");
    callLogPath_ = uniquePath("calls");
    std::remove(swapLogPath_.c_str());
    std::remove(callLogPath_.c_str());
    std::vector<char*> argv{const_cast<char*>("marrowick")};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setpriority(PRIO_PROCESS, 0, 0);
        if (::chdir(dataDir.c_str()) != 0) ::_exit(126);
        ::dup2(::open(outputPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        ::dup2(::open(errorPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        if (display.empty()) {
            ::unsetenv("DISPLAY");
        } else {
            ::setenv("DISPLAY", display.c_str(), 1);
        }
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        ::setenv("MARROWICK_SWAP_LOG", swapLogPath_.c_str(), 1);
        ::setenv("MARROWICK_GL_CALL_LOG", callLogPath_.c_str(), 1);
        ::setenv("LD_PRELOAD", MARROWICK_SWAP_LOG_LIBRARY, 1);
        for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
        ::execv(MARROWICK_SHOW_BINARY, argv.data());
        ::_exit(127);
    }
}

ShowProcess::~ShowProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    for (const std::string& path : {outputPath_, errorPath_, swapLogPath_, callLogPath_}) std::remove(path.c_str());
}

ShowResult ShowProcess::wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            ShowResult result = collect(true, status);
            result.endedUs = nowUs();
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return collect(false, status);
}

ShowResult ShowProcess::collect(bool exited, int status) {
    ShowResult result;
    result.exited = exited && WIFEXITED(status);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.output = readFile(outputPath_);
    result.errors = readFile(errorPath_);
    std::istringstream calls(readFile(callLogPath_));
    for (std::string line; std::getline(calls, line);) result.swapIntervalRequests.push_back(line);
    std::istringstream swaps(readFile(swapLogPath_));
    for (std::int64_t time = 0; swaps >> time;) result.swapTimesUs.push_back(time);
    return result;
}

size_t ShowProcess::swapsSoFar() const {
    const std::string log = readFile(swapLogPath_);
    return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
}

std::optional<std::int64_t> ShowProcess::firstSwapUs() const {
    std::istringstream swaps(readFile(swapLogPath_));
    std::int64_t time = 0;
    if (swaps >> time) return time;
    return std::nullopt;
}

std::int64_t nowUs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

double cueSeconds(const WavSound& track, const char* name) {
    for (const WavCue& point : track.cues) {
        if (point.label == name) return static_cast<double>(point.frame) / track.sampleRate;
    }
    throw std::runtime_error(std::string("the track has no cue ") + name);
}

std::vector<LoggedFrame> readFrameLog(const std::string& path) {
    std::vector<LoggedFrame> frames;
    std::istringstream lines(readFile(path));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::uint64_t frame = 0;
        LoggedFrame logged;
        // A line still being written when the log was read is left out.
        if (fields >> frame >> logged.section >> logged.swapUs >> logged.showMs >> logged.cue) {
            frames.push_back(logged);
        }
    }
    return frames;
}

std::optional<LoggedFrame> waitForShowTime(const std::string& logPath, std::uint64_t showMs,
                                           std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::vector<LoggedFrame> frames = readFrameLog(logPath);
        const auto reached =
            std::find_if(frames.begin(), frames.end(), [&](const LoggedFrame& f) { return f.showMs >= showMs; });
        if (reached != frames.end()) return *reached;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

namespace {

// A cue reaches the frame loop when its buffer is handed to the sound
// driver, up to one buffer (512 frames, 11.6 ms) before the music's
// position counts it; the log reads the two one after the other.
constexpr std::uint64_t kHandOverMs = 30;

std::uint64_t cueMs(const WavCue& point, const WavSound& track) {
    return static_cast<std::uint64_t>(point.frame) * 1000 / static_cast<std::uint64_t>(track.sampleRate);
}

// The label of the last cue at or before `ms`, "-" before the first.
std::string cueAt(const WavSound& track, std::int64_t ms) {
    std::string label = "-";
    for (const WavCue& point : track.cues) {
        if (static_cast<std::int64_t>(cueMs(point, track)) <= ms) label = point.label;
    }
    return label;
}

std::uint64_t closingMs(const WavSound& track) {
    for (const WavCue& point : track.cues) {
        if (point.label == cue::kFadeToCredits) return cueMs(point, track);
    }
    throw std::runtime_error("the track has no closing cue");
}

}  // namespace

::testing::AssertionResult namesTheCueTheMusicReached(const std::vector<LoggedFrame>& frames, const WavSound& track) {
    if (frames.empty()) return ::testing::AssertionFailure() << "no frame was logged";
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const LoggedFrame& f = frames[i];
        const auto ms = static_cast<std::int64_t>(f.showMs);
        const std::string earliest = cueAt(track, ms - static_cast<std::int64_t>(kHandOverMs));
        const std::string latest = cueAt(track, ms + static_cast<std::int64_t>(kHandOverMs));
        if (f.cue != earliest && f.cue != latest) {
            return ::testing::AssertionFailure() << "frame " << i << " at " << f.showMs << " ms of music names cue "
                                                 << f.cue << ", where the music had passed " << earliest;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult sectionsEndOnTheirCues(const std::vector<LoggedFrame>& frames, const WavSound& track) {
    const char* ending[] = {cue::kGraphical2, cue::kScene3, cue::kLittleChase};
    for (std::int32_t section = 1; section <= 3; ++section) {
        const auto next =
            std::find_if(frames.begin(), frames.end(), [&](const LoggedFrame& f) { return f.section > section; });
        if (next == frames.end() || next->section != section + 1) {
            return ::testing::AssertionFailure()
                   << "section " << section << " is not followed by section " << section + 1;
        }
        const std::uint64_t endMs = static_cast<std::uint64_t>(cueSeconds(track, ending[section - 1]) * 1000 + 0.5);
        const std::size_t first = static_cast<std::size_t>(next - frames.begin());
        // Ship and alien hand over in the frame that reads their cue, chess in
        // the frame after it: the last frames of a section are one or two
        // past the cue, and the music was short of it three frames before.
        if (first >= 1 && frames[first - 1].showMs + kHandOverMs < endMs) {
            return ::testing::AssertionFailure()
                   << "section " << section + 1 << " began at " << frames[first - 1].showMs << " ms of music, before "
                   << ending[section - 1] << " at " << endMs;
        }
        if (first >= 4 && frames[first - 4].showMs > endMs + kHandOverMs) {
            return ::testing::AssertionFailure()
                   << "section " << section << " ran on past " << ending[section - 1] << " at " << endMs
                   << " ms: still shown at " << frames[first - 4].showMs;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult endsOnTheClosingCue(const std::vector<LoggedFrame>& frames, const WavSound& track) {
    if (frames.size() < 2) return ::testing::AssertionFailure() << "hardly a frame was logged";
    const std::uint64_t closing = closingMs(track);
    for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
        if (frames[i].cue == cue::kFadeToCredits) {
            return ::testing::AssertionFailure()
                   << "frame " << i << " of " << frames.size() << " had seen the closing cue, and the show went on";
        }
    }
    // The longest the music moved on between two frames of the last two
    // seconds: one frame's step, as slow as the machine made it.
    const LoggedFrame& last = frames.back();
    std::uint64_t step = 0;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        if (frames[i].showMs > frames[i - 1].showMs && frames[i].showMs + 2000 >= last.showMs) {
            step = std::max(step, frames[i].showMs - frames[i - 1].showMs);
        }
    }
    if (last.showMs + step + kHandOverMs < closing) {
        return ::testing::AssertionFailure()
               << "the show ended at " << last.showMs << " ms of music, more than a frame (" << step
               << " ms) before its closing cue at " << closing << " ms";
    }
    if (last.showMs > closing + step + kHandOverMs) {
        return ::testing::AssertionFailure()
               << "the show ended at " << last.showMs << " ms of music, more than a frame (" << step
               << " ms) after its closing cue at " << closing << " ms";
    }
    return ::testing::AssertionSuccess();
}

BusyCores::BusyCores() {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < cores; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setpriority(PRIO_PROCESS, 0, 0);
            for (volatile unsigned long spin = 0;; spin = spin + 1) {
            }
        }
        if (pid > 0) spinners_.push_back(pid);
    }
}

BusyCores::~BusyCores() {
    for (const pid_t pid : spinners_) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

std::string runCommand(const std::string& command, const std::string& display) {
    const std::string line = "DISPLAY=" + display + " " + command + " 2>/dev/null";
    std::FILE* pipe = ::popen(line.c_str(), "r");
    if (pipe == nullptr) return {};
    std::string output;
    char buffer[4096];
    while (size_t length = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, length);
    ::pclose(pipe);
    return output;
}

namespace {
// The number after "label:" in xwininfo's report, if the label is there.
std::optional<int> field(const std::string& report, const std::string& label) {
    const size_t at = report.find(label + ":");
    if (at == std::string::npos) return std::nullopt;
    return std::stoi(report.substr(at + label.size() + 1));
}
}  // namespace

std::optional<WindowInfo> findWindow(const std::string& title, const std::string& display,
                                     std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string report = runCommand("xwininfo -name '" + title + "'", display);
        if (report.find("Map State: IsViewable") != std::string::npos) {
            return WindowInfo{field(report, "Absolute upper-left X").value_or(-1),
                              field(report, "Absolute upper-left Y").value_or(-1), field(report, "Width").value_or(0),
                              field(report, "Height").value_or(0)};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
}

double Screenshot::litFraction(int threshold) const {
    if (width == 0) return 0.0;
    size_t lit = 0;
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        if (pixels[i] > threshold || pixels[i + 1] > threshold || pixels[i + 2] > threshold) ++lit;
    }
    return static_cast<double>(lit) / (static_cast<double>(width) * height);
}

double Screenshot::mean(int c) const {
    if (width == 0) return 0.0;
    double sum = 0;
    for (size_t i = static_cast<size_t>(c); i < pixels.size(); i += 4) sum += pixels[i];
    return sum / (static_cast<double>(width) * height);
}

namespace {

std::uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    return static_cast<std::uint8_t>((pixel & mask) >> shift);
}

}  // namespace

Screenshot takeScreenshot(const std::string& display, const std::string& pngPath,
                          const std::function<void()>& grabbed) {
    // Read back here, at once: a tool started for it (ImageMagick's import,
    // even xwd) can take a loaded machine's seconds to get going, while the
    // show moves on.
    Screenshot shot;
    Display* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr) {
        ADD_FAILURE() << "cannot open display " << display;
        return shot;
    }
    const Window root = DefaultRootWindow(connection);
    XWindowAttributes attributes{};
    XGetWindowAttributes(connection, root, &attributes);
    XImage* image = XGetImage(connection, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (grabbed) grabbed();
    if (image != nullptr) {
        shot.width = image->width;
        shot.height = image->height;
        shot.pixels.resize(static_cast<std::size_t>(shot.width) * shot.height * 4);
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                std::uint8_t* out = &shot.pixels[(static_cast<std::size_t>(y) * shot.width + x) * 4];
                out[0] = channel(pixel, image->red_mask);
                out[1] = channel(pixel, image->green_mask);
                out[2] = channel(pixel, image->blue_mask);
                out[3] = 255;
            }
        }
        XDestroyImage(image);
    } else {
        ADD_FAILURE() << "cannot read the screen of " << display;
    }
    XCloseDisplay(connection);
    testsupport::writePng(pngPath, shot);
    return shot;
}

std::string shortPackDir() { return std::string(MARROWICK_BINARY_DIR) + "/data-short"; }

std::string fullPackDir() { return std::string(MARROWICK_BINARY_DIR) + "/data"; }

}  // namespace e2e
