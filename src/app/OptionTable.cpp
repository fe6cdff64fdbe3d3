#include "app/OptionTable.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <tuple>
#include <utility>

#include "capture/Supersampler.h"
#include "show/FrameRate.h"
#include "show/UserText.h"

namespace {

// A whole decimal number in [low, high], nothing before or after it.
std::optional<int> numberIn(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high) return std::nullopt;
    return value;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// WIDTHxHEIGHT, each within what a screen or a video frame can be.
std::optional<std::pair<int, int>> sizeIn(const std::string& text) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    const std::optional<int> width = numberIn(text.substr(0, x), 16, 7680);
    const std::optional<int> height = numberIn(text.substr(x + 1), 16, 4320);
    if (!width || !height) return std::nullopt;
    return std::pair{*width, *height};
}

std::string notThis(const std::string& value) { return ", not \"" + shownInMessage(value) + "\""; }

using Value = std::optional<std::string>;
using Refusal = std::optional<std::string>;

// An option without a value turns on one setting.
template <bool ShowOptions::*setting>
Refusal turnOn(ShowOptions& options, const Value&) {
    options.*setting = true;
    return std::nullopt;
}

template <bool LiveOptions::*setting>
Refusal turnOnLive(ShowOptions& options, const Value&) {
    options.live.*setting = true;
    return std::nullopt;
}

template <bool CaptureOptions::*setting>
Refusal turnOnCapture(ShowOptions& options, const Value&) {
    options.captureOptions.*setting = true;
    return std::nullopt;
}

Refusal setDataDir(ShowOptions& options, const Value& value) {
    if (value->empty()) return "expected a folder";
    options.dataDir = *value;
    return std::nullopt;
}

Refusal setWindow(ShowOptions& options, const Value& value) {
    if (value && value->empty()) return "expected WIDTHxHEIGHT after the '='";
    const auto size = value ? sizeIn(*value) : std::pair{1024, 768};
    if (!size) return "expected WIDTHxHEIGHT from 16x16 to 7680x4320" + notThis(*value);
    options.live.window = true;
    std::tie(options.live.width, options.live.height) = *size;
    return std::nullopt;
}

Refusal setTimings(ShowOptions& options, const Value& value) {
    if (value->empty()) return "expected a file name";
    // The capture's or the live show's, whichever runs.
    options.captureOptions.timingsFile = *value;
    options.live.timingsFile = *value;
    return std::nullopt;
}

Refusal setCapture(ShowOptions& options, const Value& value) {
    CaptureOptions& capture = options.captureOptions;
    if (endsWith(*value, ".mp4")) {
        capture.container = CaptureOptions::Container::Mp4;
    } else if (endsWith(*value, ".webm")) {
        capture.container = CaptureOptions::Container::WebM;
    } else if (endsWith(*value, ".mkv")) {
        capture.container = CaptureOptions::Container::Mkv;
    } else if (endsWith(*value, ".png")) {
        capture.container = CaptureOptions::Container::Png;
    } else {
        return "the file must end in .mp4, .webm or .mkv (a video) or .png (a still)" + notThis(*value);
    }
    options.capture = true;
    capture.file = *value;
    return std::nullopt;
}

Refusal setSize(ShowOptions& options, const Value& value) {
    const auto size = sizeIn(*value);
    if (!size) return "expected WIDTHxHEIGHT from 16x16 to 7680x4320" + notThis(*value);
    // The video's colour format halves the colour planes in both directions.
    if (size->first % 2 != 0 || size->second % 2 != 0) return "width and height must be even" + notThis(*value);
    std::tie(options.captureOptions.width, options.captureOptions.height) = *size;
    return std::nullopt;
}

Refusal setFps(ShowOptions& options, const Value& value) {
    const std::optional<FrameRate> fps = FrameRate::parse(*value);
    if (!fps) return "expected frames per second as N or N/D (60, 50, 60000/1001), from 1 to 1000" + notThis(*value);
    options.captureOptions.fps = *fps;
    return std::nullopt;
}

Refusal setSupersample(ShowOptions& options, const Value& value) {
    const std::optional<int> factor = numberIn(*value, 1, kLargestSupersample);
    if (!factor) return "expected a whole number from 1 to " + std::to_string(kLargestSupersample) + notThis(*value);
    options.captureOptions.supersample = *factor;
    return std::nullopt;
}

template <std::string CaptureOptions::*captureEnd, std::string LiveOptions::*liveEnd>
Refusal setSpanEnd(ShowOptions& options, const Value& value) {
    if (value->empty()) return "expected the name of a cue or a time";
    // The capture's or the live show's, whichever runs.
    options.captureOptions.*captureEnd = *value;
    options.live.*liveEnd = *value;
    return std::nullopt;
}

using A = OptionArgument;
using S = OptionScope;

// A new option is a row here and, unless it only turns a setting on, its
// function above.
constexpr OptionRow kRows[] = {
    {"--help", A::None, "", S::Any, turnOn<&ShowOptions::help>, "show this help and exit"},
    {"--version", A::None, "", S::Any, turnOn<&ShowOptions::version>, "show the version and exit"},
    {"--data", A::Required, "DIR", S::Any, setDataDir,
     "read the data files from DIR, not from the current folder or the installed pack"},
    {"--window", A::AfterEquals, "WxH", S::LiveShow, setWindow,
     "play in a normal window of WxH pixels (default 1024x768) instead of full screen"},
    {"--keep-aspect", A::None, "", S::LiveShow, turnOnLive<&LiveOptions::keepAspect>,
     "draw the show in the largest centred 4:3 area of a screen or window of another shape, with black bars beside "
     "it"},
    {"--mute", A::None, "", S::LiveShow, turnOnLive<&LiveOptions::mute>,
     "open no sound device; the music plays silently on the show's own clock and its cues still come on time"},
    {"--vsync", A::None, "", S::LiveShow, turnOnLive<&LiveOptions::vsync>,
     "let the driver hold each frame for the display's refresh (by default the show asks it not to, and paces "
     "itself)"},
    {"--player", A::None, "", S::LiveShow, turnOnLive<&LiveOptions::player>,
     "watch it like a film: keys pause, seek by cue or ten seconds, loop and step (see README), on the show's own "
     "clock, paced by the music"},
    {"--from", A::Required, "CUE|TIME", S::Any, setSpanEnd<&CaptureOptions::from, &LiveOptions::from>,
     "start at a cue of the music or at a time (seconds, or m:ss.mmm)"},
    {"--to", A::Required, "CUE|TIME", S::Any, setSpanEnd<&CaptureOptions::to, &LiveOptions::to>,
     "end at a cue or a time (default: the closing cue)"},
    {"--list-cues", A::None, "", S::Any, turnOn<&ShowOptions::listCues>,
     "list the music's cues with their times and exit"},
    {"--timings", A::Required, "FILE", S::Any, setTimings,
     "log each frame: its section and when it was shown (live), or how long it took to draw and read back "
     "(--capture)"},
    {"--capture", A::Required, "FILE", S::Capture, setCapture,
     "render the whole show off-screen, with no display and no sound device, into a video: FILE.mp4 (H.264 + AAC), "
     "FILE.webm (VP9 + Opus) or FILE.mkv (H.264 + FLAC), each with the music's cues as chapters; needs the ffmpeg "
     "program. FILE.png is a still instead: the one frame --from names (the first without it), 8-bit RGB"},
    {"--size", A::Required, "WxH", S::Capture, setSize,
     "the video's frame size (default 1280x720); the show is drawn in the largest centred 4:3 area, with black bars "
     "beside it"},
    {"--stretch", A::None, "", S::Capture, turnOnCapture<&CaptureOptions::stretch>,
     "fill the whole video frame instead of the centred 4:3 area"},
    {"--fps", A::Required, "RATE", S::Capture, setFps,
     "video frames per second, whole or a fraction: 50, 60000/1001 (59.94), 24000/1001 (23.976); default 60"},
    {"--blend", A::None, "", S::Capture, turnOnCapture<&CaptureOptions::blend>,
     "make each video frame the average of the show frames up during it, each weighted by how long it is up: "
     "smooth motion at any rate, and every show frame counts (all of them are drawn)"},
    {"--supersample", A::Required, "N", S::Capture, setSupersample,
     "draw each frame at N times the width and height (1 to 4) and average each N x N block into one pixel: "
     "smooth edges for N x N times the drawing"},
    {"--lossless", A::None, "", S::Capture, turnOnCapture<&CaptureOptions::lossless>,
     "keep every pixel of the picture (large files, for archives and re-encoding; browsers do not play them)"},
    {"--archive", A::None, "", S::Capture, turnOnCapture<&CaptureOptions::archive>,
     "with a .mkv file: FFV1, lossless, in the red, green and blue the renderer drew, and FLAC; for keeping and "
     "re-encoding"},
};

// What a still refuses: it is one frame, kept as drawn.
constexpr struct {
    std::string_view option;
    std::string_view because;
} kNotForAStill[] = {
    {"--fps", "it is one frame, with no rate"},        {"--blend", "it is one show frame, as drawn"},
    {"--lossless", "a PNG keeps every pixel already"}, {"--archive", "a PNG keeps every pixel as drawn already"},
    {"--to", "it is the one frame --from names"},
};

}  // namespace

std::optional<std::string> refusedCombination(const ShowOptions& options) {
    const CaptureOptions& capture = options.captureOptions;
    if (!options.capture) return std::nullopt;
    if (capture.container == CaptureOptions::Container::Png) {
        for (const auto& refused : kNotForAStill) {
            if (std::find(options.given.begin(), options.given.end(), refused.option) != options.given.end()) {
                return std::string(refused.option) + " is for a video, not a still (\"" + shownInMessage(capture.file) +
                       "\"): " + std::string(refused.because);
            }
        }
    }
    if (capture.archive && capture.container != CaptureOptions::Container::Mkv) {
        return "--archive needs a .mkv file" + notThis(capture.file);
    }
    if (capture.archive && capture.lossless) return "--archive keeps every pixel already; leave out --lossless";
    const long long drawnWidth = static_cast<long long>(capture.width) * capture.supersample;
    const long long drawnHeight = static_cast<long long>(capture.height) * capture.supersample;
    if (drawnWidth > kLargestDrawnSide || drawnHeight > kLargestDrawnSide) {
        return "--supersample " + std::to_string(capture.supersample) + " at " + std::to_string(capture.width) + "x" +
               std::to_string(capture.height) + " would draw " + std::to_string(drawnWidth) + "x" +
               std::to_string(drawnHeight) + " pixels; the renderer draws at most " +
               std::to_string(kLargestDrawnSide) + " a side";
    }
    return std::nullopt;
}

const OptionTable& optionTable() {
    static const OptionTable table{kRows, std::size(kRows)};
    return table;
}

const OptionRow* findOption(std::string_view name) {
    for (const OptionRow& row : optionTable()) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

std::string optionSynopsis(const OptionRow& row) {
    std::string synopsis(row.name);
    switch (row.argument) {
    case OptionArgument::None:
        break;
    case OptionArgument::Required:
        synopsis.append(" ").append(row.placeholder);
        break;
    case OptionArgument::AfterEquals:
        synopsis.append("[=").append(row.placeholder).append("]");
        break;
    }
    return synopsis;
}
