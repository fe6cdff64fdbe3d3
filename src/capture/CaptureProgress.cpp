#include "capture/CaptureProgress.h"

#include <unistd.h>

#include <algorithm>
#include <string>

namespace {

constexpr auto kTerminalInterval = std::chrono::milliseconds(200);
constexpr auto kLogInterval = std::chrono::seconds(5);
constexpr int kBarWidth = 30;

std::string minutesAndSeconds(double seconds) {
    const auto whole = static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

CaptureProgress::CaptureProgress(std::uint64_t totalShowFrames, std::uint64_t totalVideoFrames, std::FILE* out)
    : totalShow_(std::max<std::uint64_t>(totalShowFrames, 1)),
      totalVideo_(totalVideoFrames),
      out_(out),
      terminal_(::isatty(::fileno(out)) != 0) {}

void CaptureProgress::update(std::uint64_t showFramesDone, std::uint64_t videoFramesDone) {
    const auto now = Clock::now();
    if (now - lastReport_ < (terminal_ ? kTerminalInterval : kLogInterval)) return;
    lastReport_ = now;
    report(showFramesDone, videoFramesDone, false);
}

void CaptureProgress::finish(std::uint64_t videoFramesDone) { report(totalShow_, videoFramesDone, true); }

void CaptureProgress::report(std::uint64_t showFramesDone, std::uint64_t videoFramesDone, bool last) {
    // The share of the video the encoder has taken, unless fewer of the show's
    // frames are drawn: the drawing runs a few frames ahead of the encoder,
    // which at the largest sizes is seconds of work.
    const double drawn = static_cast<double>(showFramesDone) / static_cast<double>(totalShow_);
    const double encoded =
        totalVideo_ > 0 ? static_cast<double>(videoFramesDone) / static_cast<double>(totalVideo_) : drawn;
    const double share = last ? 1.0 : std::min({1.0, drawn, encoded});
    const double elapsed = std::chrono::duration<double>(Clock::now() - started_).count();
    const double fps = elapsed > 0 ? static_cast<double>(videoFramesDone) / elapsed : 0.0;
    const double left = share > 0 ? elapsed * (1.0 - share) / share : 0.0;
    char line[160];
    std::snprintf(
        line, sizeof line, "%llu/%llu frames %3d%%  %5.1f fps  %s %s", static_cast<unsigned long long>(videoFramesDone),
        static_cast<unsigned long long>(totalVideo_), static_cast<int>(share * 100.0), fps,
        last ? minutesAndSeconds(elapsed).c_str() : minutesAndSeconds(left).c_str(), last ? "in all" : "left");
    if (terminal_) {
        const int filled = static_cast<int>(share * kBarWidth);
        std::fprintf(out_, "\rcapture [%s%s] %s\033[K%s", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(kBarWidth - filled), '.').c_str(), line, last ? "\n" : "");
    } else {
        std::fprintf(out_, "capture: %s\n", line);
    }
    std::fflush(out_);
}
