// Marrowick: a real-time intro. The music's cue points drive every event; the
// process exits 0 when the music reaches its closing cue. Without options it
// is the show exactly as it always was; see --help for what options add.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "app/OptionParser.h"
#include "app/OptionTable.h"
#include "audio/AudioStream.h"
#include "capture/Capture.h"
#include "platform/DataFiles.h"
#include "platform/DataPath.h"
#include "platform/KeyState.h"
#include "screen/FrameLog.h"
#include "screen/LiveShow.h"
#include "screen/Player.h"
#include "show/FrameLimiter.h"
#include "show/OfflineClock.h"
#include "show/Show.h"
#include "show/ShowSpan.h"
#include "show/UserText.h"

#ifndef MARROWICK_VERSION
#define MARROWICK_VERSION "unknown"
#endif

namespace {

constexpr const char* kTrack = platform::files::kMusic.name;

// --list-cues: the music's cues in order with their own times, read from
// the track alone.
int listCues(const std::string& program) {
    const std::optional<TrackCues> track = readTrackCues(kTrack);
    if (!track) {
        std::fprintf(stderr, "%s: cannot read the music, %s\n", program.c_str(), kTrack);
        return 2;
    }
    for (const Chapter& chapter : chaptersOf(track->cues, track->sampleRate, kShowFramePeriodMs)) {
        std::printf("%s  %s\n", formatShowTime(chapter.ms).c_str(), chapter.name.c_str());
    }
    return 0;
}

// --from and --to as frames of the show, or the one line that says what is wrong.
SpanOrError findSpan(const std::string& from, const std::string& to) {
    if (from.empty() && to.empty()) return {};
    const std::optional<TrackCues> track = readTrackCues(kTrack);
    if (!track) return {{}, std::string("cannot read the music, ") + kTrack};
    return resolveSpan(from, to, *track, kShowFramePeriodMs);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    const std::string program = argc > 0 ? argv[0] : "marrowick";
    const auto parsed = parseShowOptions(arguments);
    if (const auto* error = std::get_if<OptionError>(&parsed)) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), error->message.c_str(), tryHelpLine(program).c_str());
        return 2;
    }
    ShowOptions options = std::get<ShowOptions>(parsed);
    if (options.help) {
        std::fputs(usageText(program).c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("marrowick %s\n", MARROWICK_VERSION);
        return 0;
    }
    if (!options.dataDir.empty()) {
        std::error_code error;
        std::filesystem::directory_iterator folder(options.dataDir, error);
        if (error) {
            std::fprintf(stderr, "%s: --data: cannot enter %s: %s\n", program.c_str(),
                         shownInMessage(options.dataDir).c_str(), error.message().c_str());
            return 2;
        }
    }
    const std::string dataFolder = platform::findDataFolder(options.dataDir, platform::executablePath());
    platform::setDataFolder(dataFolder);
    if (options.listCues) return listCues(program);
    const std::string& from = options.capture ? options.captureOptions.from : options.live.from;
    const std::string& to = options.capture ? options.captureOptions.to : options.live.to;
    const SpanOrError span = findSpan(from, to);
    if (!span.error.empty()) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), span.error.c_str());
        return 2;
    }
    if (options.capture) runCapture(options.captureOptions, dataFolder, span.span);
    // Opened before anything is built, so a bad path costs nothing.
    std::unique_ptr<FrameLog> frameLog;
    if (!options.live.timingsFile.empty()) {
        try {
            frameLog = std::make_unique<FrameLog>(options.live.timingsFile);
        } catch (const std::runtime_error& error) {
            std::fprintf(stderr, "%s: --timings: %s\n", program.c_str(), error.what());
            return 1;
        }
    }
    if (options.live.mute) audio::setSoundOutput(audio::SoundOutput::Offline);

    // GLUT sees the arguments the show leaves to it, as it always did.
    std::vector<char*> glutArguments;
    for (const std::string& argument : options.glutArguments)
        glutArguments.push_back(const_cast<char*>(argument.c_str()));
    glutArguments.push_back(nullptr);
    int glutCount = static_cast<int>(glutArguments.size()) - 1;
    if (options.live.player || !options.live.from.empty() || !options.live.to.empty()) {
        // The show clock first: every seed the objects take at start-up comes
        // from it. The space bar stays the user's. Both live until the exit,
        // which takes the show down with its closing lines.
        static OfflineClock clock;
        platform::setSpaceKeySource({});
        static Show show(dataFolder, &clock);
        return runPlayer(glutCount, glutArguments.data(), show, options.live, span.span, frameLog.get());
    }
    static Show show(dataFolder, nullptr);
    return runShow(glutCount, glutArguments.data(), show, options.live, frameLog.get());
}
