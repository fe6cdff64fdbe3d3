// Marrowick: a real-time intro. The music's cue points drive every event; the
// process exits 0 when the music reaches its closing cue. Without options it
// is the show exactly as it always was; see --help for what options add.
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "app/Capture.h"
#include "app/Entry.h"
#include "app/ShowObjects.h"
#include "app/ShowOptions.h"

#ifndef MARROWICK_VERSION
#define MARROWICK_VERSION "unknown"
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    const std::string program = argc > 0 ? argv[0] : "marrowick";
    const auto parsed = parseShowOptions(arguments);
    if (const auto* error = std::get_if<OptionError>(&parsed)) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), error->message.c_str(), usageText(program).c_str());
        return 2;
    }
    const ShowOptions& options = std::get<ShowOptions>(parsed);
    if (options.help) {
        std::fputs(usageText(program).c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("marrowick %s\n", MARROWICK_VERSION);
        return 0;
    }
    if (options.capture) runCapture(options.captureOptions);

    // GLUT sees the arguments the show leaves to it, as it always did.
    std::vector<char*> glutArguments;
    for (const std::string& argument : options.glutArguments)
        glutArguments.push_back(const_cast<char*>(argument.c_str()));
    glutArguments.push_back(nullptr);
    int glutCount = static_cast<int>(glutArguments.size()) - 1;
    const ShowLoop& loop = buildShowObjects();
    return runShow(glutCount, glutArguments.data(), loop);
}
