#include "app/ShowOptions.h"

#include <charconv>
#include <optional>

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

// The options that take a value, and those that do not.
bool takesValue(const std::string& name) {
    return name == "--capture" || name == "--size" || name == "--fps" || name == "--from" || name == "--to" ||
           name == "--timings";
}
bool isFlag(const std::string& name) {
    return name == "--help" || name == "--version" || name == "--stretch" || name == "--lossless";
}
bool belongsToCapture(const std::string& name) {
    return name != "--help" && name != "--version" && name != "--capture";
}

// Applies one option; an error message when its value is not acceptable.
std::optional<std::string> apply(ShowOptions& options, const std::string& name, const std::string& value) {
    CaptureOptions& capture = options.captureOptions;
    if (name == "--help") {
        options.help = true;
    } else if (name == "--version") {
        options.version = true;
    } else if (name == "--capture") {
        if (endsWith(value, ".mp4")) {
            capture.container = CaptureOptions::Container::Mp4;
        } else if (endsWith(value, ".mkv")) {
            capture.container = CaptureOptions::Container::Mkv;
        } else {
            return "--capture: the file must end in .mp4 or .mkv, not \"" + value + "\"";
        }
        options.capture = true;
        capture.file = value;
    } else if (name == "--size") {
        const std::size_t x = value.find('x');
        const std::optional<int> width = x == std::string::npos ? std::nullopt : numberIn(value.substr(0, x), 16, 7680);
        const std::optional<int> height =
            x == std::string::npos ? std::nullopt : numberIn(value.substr(x + 1), 16, 4320);
        if (!width || !height) return "--size: expected WIDTHxHEIGHT from 16x16 to 7680x4320, not \"" + value + "\"";
        // The video's colour format halves the colour planes in both directions.
        if (*width % 2 != 0 || *height % 2 != 0) return "--size: width and height must be even, not \"" + value + "\"";
        capture.width = *width;
        capture.height = *height;
    } else if (name == "--fps") {
        const std::optional<int> fps = numberIn(value, 1, 1000);
        if (!fps) return "--fps: expected a whole number of frames per second from 1 to 1000, not \"" + value + "\"";
        capture.fps = *fps;
    } else if (name == "--stretch") {
        capture.stretch = true;
    } else if (name == "--lossless") {
        capture.lossless = true;
    } else if (name == "--timings") {
        capture.timingsFile = value;
    } else if (name == "--from" || name == "--to") {
        if (value.empty()) return name + ": expected the name of a cue";
        (name == "--from" ? capture.fromCue : capture.toCue) = value;
    }
    return std::nullopt;
}

}  // namespace

std::variant<ShowOptions, OptionError> parseShowOptions(const std::vector<std::string>& arguments) {
    ShowOptions options;
    if (!arguments.empty()) options.glutArguments.push_back(arguments[0]);
    std::vector<std::string> captureOnly;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            options.glutArguments.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        std::string value;
        if (takesValue(name)) {
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return OptionError{name + " needs a value"};
            }
        } else if (!isFlag(name)) {
            return OptionError{"unknown option " + name};
        } else if (equals != std::string::npos) {
            return OptionError{name + " takes no value"};
        }
        if (const std::optional<std::string> error = apply(options, name, value)) return OptionError{*error};
        if (belongsToCapture(name)) captureOnly.push_back(name);
    }
    if (!options.capture && !captureOnly.empty()) return OptionError{captureOnly.front() + " needs --capture FILE"};
    return options;
}

std::string usageText(const std::string& program) {
    return "Usage: " + program +
           " [OPTION]...\n"
           "Marrowick, a real-time intro: chess, a ship, an alien and the closing credits,\n"
           "driven by the cue points of its music. Run it in the folder that holds its data\n"
           "(demot.wav, transFont.tle, demoMesh/, ting/, the pictures); it plays full screen\n"
           "and ends by itself when the music reaches its closing cue.\n"
           "\n"
           "  --help             show this help and exit\n"
           "  --version          show the version and exit\n"
           "  --capture FILE     render the whole show off-screen, with no display and no sound\n"
           "                     device, into a video: FILE.mp4 (H.264 + AAC) or FILE.mkv\n"
           "                     (H.264 + FLAC); needs the ffmpeg program\n"
           "  --size WxH         the video's frame size (default 1280x720); the show is drawn\n"
           "                     in the largest centred 4:3 area, with black bars beside it\n"
           "  --stretch          fill the whole video frame instead\n"
           "  --fps N            video frames per second (default 60)\n"
           "  --from CUE         start the video at a named cue of the music\n"
           "  --to CUE           end the video at a named cue (default: the closing cue)\n"
           "  --timings FILE     write how long each frame took to draw and read back\n"
           "  --lossless         keep every pixel of the picture (large files, for archives\n"
           "                     and re-encoding; browsers do not play them)\n"
           "\n"
           "Other arguments go to GLUT (-display, -geometry, ...).\n"
           "Exit status: 0 when the show or the capture ends; 1 when a capture fails;\n"
           "2 for a bad option.\n";
}
