#include "app/ShowOptions.h"

#include <charconv>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <utility>

namespace {

// A whole decimal number in [low, high], nothing before or after it.
std::optional<int> numberIn(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high) return std::nullopt;
    return value;
}

// A name or value as an error message shows it: control characters become
// escapes, so what the user typed cannot break the message's one line or
// send the terminal a command.
std::string shown(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
        } else {
            out += c;
        }
    }
    return out;
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

bool isOneOf(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* candidate : names) {
        if (name == candidate) return true;
    }
    return false;
}

// The options that take a value, the one whose value is optional (given
// only after '='), and those that take none.
bool takesValue(const std::string& name) {
    return isOneOf(name, {"--capture", "--size", "--fps", "--from", "--to", "--timings", "--data"});
}
bool takesOptionalValue(const std::string& name) { return name == "--window"; }
bool isFlag(const std::string& name) {
    return isOneOf(name, {"--help", "--version", "--stretch", "--lossless", "--keep-aspect", "--mute", "--vsync"});
}
bool belongsToCapture(const std::string& name) {
    return isOneOf(name, {"--size", "--fps", "--from", "--to", "--stretch", "--lossless"});
}
bool belongsToLiveShow(const std::string& name) {
    return isOneOf(name, {"--window", "--keep-aspect", "--mute", "--vsync"});
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
            return "--capture: the file must end in .mp4 or .mkv, not \"" + shown(value) + "\"";
        }
        options.capture = true;
        capture.file = value;
    } else if (name == "--size") {
        const auto size = sizeIn(value);
        if (!size) return "--size: expected WIDTHxHEIGHT from 16x16 to 7680x4320, not \"" + shown(value) + "\"";
        // The video's colour format halves the colour planes in both directions.
        if (size->first % 2 != 0 || size->second % 2 != 0) {
            return "--size: width and height must be even, not \"" + shown(value) + "\"";
        }
        std::tie(capture.width, capture.height) = *size;
    } else if (name == "--window") {
        const auto size = value.empty() ? std::pair{1024, 768} : sizeIn(value);
        if (!size) return "--window: expected WIDTHxHEIGHT from 16x16 to 7680x4320, not \"" + shown(value) + "\"";
        options.live.window = true;
        std::tie(options.live.width, options.live.height) = *size;
    } else if (name == "--data") {
        if (value.empty()) return "--data: expected a folder";
        options.dataDir = value;
    } else if (name == "--keep-aspect") {
        options.live.keepAspect = true;
    } else if (name == "--mute") {
        options.live.mute = true;
    } else if (name == "--vsync") {
        options.live.vsync = true;
    } else if (name == "--fps") {
        const std::optional<int> fps = numberIn(value, 1, 1000);
        if (!fps)
            return "--fps: expected a whole number of frames per second from 1 to 1000, not \"" + shown(value) + "\"";
        capture.fps = *fps;
    } else if (name == "--stretch") {
        capture.stretch = true;
    } else if (name == "--lossless") {
        capture.lossless = true;
    } else if (name == "--timings") {
        if (value.empty()) return "--timings: expected a file name";
        // The capture's or the live show's, whichever runs.
        capture.timingsFile = value;
        options.live.timingsFile = value;
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
    std::vector<std::string> liveOnly;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            options.glutArguments.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        std::string value;
        if (takesOptionalValue(name)) {
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
                if (value.empty()) return OptionError{name + ": expected WIDTHxHEIGHT after the '='"};
            }
        } else if (takesValue(name)) {
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return OptionError{name + " needs a value"};
            }
        } else if (!isFlag(name)) {
            return OptionError{"unknown option " + shown(name)};
        } else if (equals != std::string::npos) {
            return OptionError{name + " takes no value"};
        }
        if (const std::optional<std::string> error = apply(options, name, value)) return OptionError{*error};
        if (belongsToCapture(name)) captureOnly.push_back(name);
        if (belongsToLiveShow(name)) liveOnly.push_back(name);
    }
    if (!options.capture && !captureOnly.empty()) return OptionError{captureOnly.front() + " needs --capture FILE"};
    if (options.capture && !liveOnly.empty()) {
        return OptionError{liveOnly.front() +
                           " is for the show on screen; a --capture has no window and no sound device"};
    }
    return options;
}

std::string usageText(const std::string& program) {
    return "Usage: " + program +
           " [OPTION]...\n"
           "Marrowick, a real-time intro: chess, a ship, an alien and the closing credits,\n"
           "driven by the cue points of its music. Run it in the folder that holds its data\n"
           "(demot.wav, transFont.tle, demoMesh/, ting/, the pictures) or name that folder\n"
           "with --data; it plays full screen and ends by itself when the music reaches its\n"
           "closing cue.\n"
           "\n"
           "  --help             show this help and exit\n"
           "  --version          show the version and exit\n"
           "  --data DIR         read the data files from DIR instead of the current folder\n"
           "  --window[=WxH]     play in a normal window of WxH pixels (default 1024x768)\n"
           "                     instead of full screen\n"
           "  --keep-aspect      draw the show in the largest centred 4:3 area of a screen or\n"
           "                     window of another shape, with black bars beside it\n"
           "  --mute             open no sound device; the music plays silently on the show's\n"
           "                     own clock and its cues still come on time\n"
           "  --vsync            let the driver hold each frame for the display's refresh\n"
           "                     (by default the show asks it not to, and paces itself)\n"
           "  --timings FILE     log each frame: its section and when it was shown (live),\n"
           "                     or how long it took to draw and read back (--capture)\n"
           "\n"
           "  --capture FILE     render the whole show off-screen, with no display and no sound\n"
           "                     device, into a video: FILE.mp4 (H.264 + AAC) or FILE.mkv\n"
           "                     (H.264 + FLAC); needs the ffmpeg program\n"
           "  --size WxH         the video's frame size (default 1280x720); the show is drawn\n"
           "                     in the largest centred 4:3 area, with black bars beside it\n"
           "  --stretch          fill the whole video frame instead\n"
           "  --fps N            video frames per second (default 60)\n"
           "  --from CUE         start the video at a named cue of the music\n"
           "  --to CUE           end the video at a named cue (default: the closing cue)\n"
           "  --lossless         keep every pixel of the picture (large files, for archives\n"
           "                     and re-encoding; browsers do not play them)\n"
           "\n"
           "Other arguments go to GLUT (-display, -geometry, ...).\n"
           "Exit status: 0 when the show or the capture ends; 1 when a capture fails;\n"
           "2 for a bad option or a --data folder that cannot be entered.\n";
}
