// Marrowick: a real-time intro. The music's cue points drive every event; the
// process exits 0 when the music reaches its closing cue. Without options it
// is the show exactly as it always was; see --help for what options add.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "app/FrameLog.h"
#include "app/LiveShow.h"
#include "app/OptionParser.h"
#include "app/OptionTable.h"
#include "app/ShowObjects.h"
#include "audio/AudioStream.h"
#include "capture/Capture.h"
#include "platform/DataPath.h"

#ifndef MARROWICK_VERSION
#define MARROWICK_VERSION "unknown"
#endif

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
            std::fprintf(stderr, "%s: --data: cannot enter %s: %s\n", program.c_str(), options.dataDir.c_str(),
                         error.message().c_str());
            return 2;
        }
    }
    const platform::DataFolderSearch data = platform::findDataFolder(options.dataDir, platform::executablePath());
    if (!data.folder) {
        std::string folders;
        for (const std::string& folder : data.lookedIn) {
            folders += (folders.empty() ? "" : " or ") + shownInMessage(folder);
        }
        std::fprintf(stderr, "%s: no show data (demot.wav, transFont.tle) in %s; --data DIR names its folder\n",
                     program.c_str(), folders.c_str());
        return 2;
    }
    platform::setDataFolder(*data.folder);
    if (options.capture) runCapture(options.captureOptions);
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
    const ShowLoop& loop = buildShowObjects();
    return runShow(glutCount, glutArguments.data(), loop, options.live, frameLog.get());
}
