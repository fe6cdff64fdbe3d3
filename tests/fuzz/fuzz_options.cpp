// The command line as any bytes: pieces between NULs are the arguments, the
// first of them the program name. An argument that starts with byte 7 stands
// for an option of the show's option table, the next byte picking the row and
// the rest following its name, so every option is within reach without a
// list of them here. Beyond the sanitizers it checks what the rest of the
// show takes for granted once parsing succeeds (a capture size the colour
// format can halve, a frame rate it can keep, no capture option without a
// capture, no live option with one, one timings log for whichever runs,
// GLUT's share untouched), that what was accepted says everything the
// command line meant (written out again in the '=' spelling it parses to the
// same options), and that a refusal is one line naming an option that was
// given: one the table does not have, or one whose row fits the refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <variant>
#include <vector>

#include "app/OptionParser.h"
#include "app/OptionTable.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool startsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string optionName(const std::string& argument) { return argument.substr(0, argument.find('=')); }

constexpr char kTableOption = 7;

std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments;
    if (size == 0) return arguments;
    arguments.emplace_back();
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    const OptionTable& table = optionTable();
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        std::string& argument = arguments[i];
        if (argument.size() < 2 || argument[0] != kTableOption) continue;
        const OptionRow& row = table.rows[static_cast<unsigned char>(argument[1]) % table.size];
        argument = std::string(row.name) + argument.substr(2);
    }
    return arguments;
}

bool sameCapture(const CaptureOptions& a, const CaptureOptions& b) {
    return a.file == b.file && a.container == b.container && a.width == b.width && a.height == b.height &&
           a.fps == b.fps && a.supersample == b.supersample && a.blend == b.blend && a.stretch == b.stretch &&
           a.lossless == b.lossless && a.archive == b.archive && a.from == b.from && a.to == b.to &&
           a.timingsFile == b.timingsFile;
}

bool sameLive(const LiveOptions& a, const LiveOptions& b) {
    return a.window == b.window && a.width == b.width && a.height == b.height && a.keepAspect == b.keepAspect &&
           a.mute == b.mute && a.vsync == b.vsync && a.timingsFile == b.timingsFile && a.player == b.player &&
           a.from == b.from && a.to == b.to;
}

bool same(const ShowOptions& a, const ShowOptions& b) {
    return a.help == b.help && a.version == b.version && a.capture == b.capture && a.listCues == b.listCues &&
           sameCapture(a.captureOptions, b.captureOptions) && sameLive(a.live, b.live) && a.dataDir == b.dataDir &&
           a.glutArguments == b.glutArguments;
}

// The options as the '=' spelling writes them, GLUT's arguments first: with
// every value joined to its name none of them can be taken for a value.
std::vector<std::string> spelledOut(const ShowOptions& options) {
    std::vector<std::string> arguments = options.glutArguments;
    const auto flag = [&](bool set, const char* name) {
        if (set) arguments.emplace_back(name);
    };
    flag(options.help, "--help");
    flag(options.version, "--version");
    if (!options.dataDir.empty()) arguments.push_back("--data=" + options.dataDir);
    flag(options.listCues, "--list-cues");
    if (!options.live.timingsFile.empty()) arguments.push_back("--timings=" + options.live.timingsFile);
    if (!options.live.from.empty()) arguments.push_back("--from=" + options.live.from);
    if (!options.live.to.empty()) arguments.push_back("--to=" + options.live.to);
    if (options.capture) {
        const CaptureOptions& capture = options.captureOptions;
        arguments.push_back("--capture=" + capture.file);
        arguments.push_back("--size=" + std::to_string(capture.width) + "x" + std::to_string(capture.height));
        // A still refuses a rate, even the default one.
        if (capture.container != CaptureOptions::Container::Png) arguments.push_back("--fps=" + capture.fps.text());
        arguments.push_back("--supersample=" + std::to_string(capture.supersample));
        flag(capture.blend, "--blend");
        flag(capture.stretch, "--stretch");
        flag(capture.lossless, "--lossless");
        flag(capture.archive, "--archive");
    } else {
        const LiveOptions& live = options.live;
        if (live.window) {
            arguments.push_back("--window=" + std::to_string(live.width) + "x" + std::to_string(live.height));
        }
        flag(live.keepAspect, "--keep-aspect");
        flag(live.mute, "--mute");
        flag(live.vsync, "--vsync");
        flag(live.player, "--player");
    }
    return arguments;
}

void checkAccepted(const std::vector<std::string>& arguments, const ShowOptions& options) {
    const CaptureOptions& capture = options.captureOptions;
    const LiveOptions& live = options.live;
    CaptureOptions noCapture;
    LiveOptions noLive;
    // The timings log is the capture's or the live show's, whichever runs.
    require(capture.timingsFile == live.timingsFile);
    noCapture.timingsFile = noLive.timingsFile = live.timingsFile;
    // So is the span, from and to.
    require(capture.from == live.from && capture.to == live.to);
    noCapture.from = noLive.from = live.from;
    noCapture.to = noLive.to = live.to;

    // The video frame: even sides within the encoder's limits, a rate it keeps.
    require(capture.width >= 16 && capture.width <= 7680 && capture.width % 2 == 0);
    require(capture.height >= 16 && capture.height <= 4320 && capture.height % 2 == 0);
    // A rate in lowest terms from 1 to 1000 frames a second.
    require(capture.fps.seconds >= 1 && capture.fps.frames >= capture.fps.seconds &&
            capture.fps.frames <= 1000 * capture.fps.seconds && std::gcd(capture.fps.frames, capture.fps.seconds) == 1);
    // What is drawn fits the renderer; an archive is a lossless .mkv.
    require(capture.supersample >= 1 && capture.supersample <= 4);
    require(capture.width * capture.supersample <= 16384 && capture.height * capture.supersample <= 16384);
    require(!capture.archive || (capture.container == CaptureOptions::Container::Mkv && !capture.lossless));
    if (options.capture) {
        const char* ending = capture.container == CaptureOptions::Container::Mp4    ? ".mp4"
                             : capture.container == CaptureOptions::Container::WebM ? ".webm"
                             : capture.container == CaptureOptions::Container::Png  ? ".png"
                                                                                    : ".mkv";
        require(capture.file.size() > std::strlen(ending) && endsWith(capture.file, ending));
        require(sameLive(live, noLive));
        // A still is one frame as drawn: no rate, blend, span's end or other kind.
        if (capture.container == CaptureOptions::Container::Png) {
            require(capture.fps == noCapture.fps && !capture.blend && !capture.lossless && !capture.archive &&
                    capture.to.empty());
        }
    } else {
        require(sameCapture(capture, noCapture));
    }
    if (live.window) {
        require(live.width >= 16 && live.width <= 7680 && live.height >= 16 && live.height <= 4320);
    } else {
        require(live.width == noLive.width && live.height == noLive.height);
    }

    // GLUT gets the program name and, in order, arguments that are not ours.
    std::size_t next = 0;
    for (std::size_t i = 0; i < options.glutArguments.size(); ++i) {
        const std::string& glut = options.glutArguments[i];
        require(i == 0 || !startsWith(glut, "--"));
        while (next < arguments.size() && arguments[next] != glut) ++next;
        require(next < arguments.size());
        require((i == 0) == (next == 0));
        ++next;
    }
    require(arguments.empty() == options.glutArguments.empty());

    // Only an argument can ask for them; one may also be another option's value.
    bool help = false;
    bool version = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        help = help || arguments[i] == "--help";
        version = version || arguments[i] == "--version";
    }
    require((help || !options.help) && (version || !options.version));

    const auto again = parseShowOptions(spelledOut(options));
    require(std::holds_alternative<ShowOptions>(again) && same(std::get<ShowOptions>(again), options));
}

bool hasControlCharacters(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
    }
    return false;
}

bool given(const std::vector<std::string>& arguments, const std::string& name) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (startsWith(arguments[i], "--") && optionName(arguments[i]) == name) return true;
    }
    return false;
}

void checkRefused(const std::vector<std::string>& arguments, const OptionError& error) {
    const std::string& message = error.message;
    // One line, and nothing the terminal would take for a command.
    require(!message.empty() && !hasControlCharacters(message));
    // "unknown option NAME" for a name the table does not have (shown
    // escaped when it needs to be)...
    const std::string unknown = "unknown option ";
    if (startsWith(message, unknown)) {
        bool named = false;
        for (std::size_t i = 1; i < arguments.size() && !named; ++i) {
            if (!startsWith(arguments[i], "--")) continue;
            const std::string name = optionName(arguments[i]);
            named = !findOption(name) &&
                    (hasControlCharacters(name) ? startsWith(message, unknown + "--") : message == unknown + name);
        }
        require(named);
        return;
    }
    // ...or a message that starts with the name of an option given, and
    // refuses it for a kind of run only when its row belongs to the other.
    const std::string name = message.substr(0, message.find_first_of(" :"));
    const OptionRow* row = findOption(name);
    require(row && given(arguments, name));
    if (endsWith(message, " needs --capture FILE")) require(row->scope == OptionScope::Capture);
    if (endsWith(message, " is for the show on screen; a --capture has no window and no sound device")) {
        require(row->scope == OptionScope::LiveShow);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = argumentsOf(data, size);
    const auto parsed = parseShowOptions(arguments);
    if (const auto* options = std::get_if<ShowOptions>(&parsed)) {
        checkAccepted(arguments, *options);
    } else {
        checkRefused(arguments, std::get<OptionError>(parsed));
    }
    return 0;
}
