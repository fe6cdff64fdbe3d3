#include "app/OptionParser.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "app/OptionTable.h"
#include "show/UserText.h"

std::variant<ShowOptions, OptionError> parseShowOptions(const std::vector<std::string>& arguments) {
    ShowOptions options;
    if (!arguments.empty()) options.glutArguments.push_back(arguments[0]);
    // The first option given for each kind of run, which an error names.
    const OptionRow* firstForCapture = nullptr;
    const OptionRow* firstForLiveShow = nullptr;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            options.glutArguments.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionRow* row = findOption(name);
        if (!row) return OptionError{"unknown option " + shownInMessage(name)};
        std::optional<std::string> value;
        if (equals != std::string::npos) {
            if (row->argument == OptionArgument::None) return OptionError{name + " takes no value"};
            value = argument.substr(equals + 1);
        } else if (row->argument == OptionArgument::Required) {
            if (i + 1 == arguments.size()) return OptionError{name + " needs a value"};
            value = arguments[++i];
        } else if (row->argument == OptionArgument::AfterEquals && i + 1 < arguments.size() &&
                   arguments[i + 1].rfind('-', 0) != 0) {
            // Every GLUT argument of its own begins with '-': a word after
            // --window was meant as its value, and would reach GLUT unseen.
            const std::string meant = name + "=" + shownInMessage(arguments[i + 1]);
            return OptionError{name + " takes its value after '=': write " + meant};
        }
        if (const std::optional<std::string> refusal = row->apply(options, value)) {
            return OptionError{name + ": " + *refusal};
        }
        options.given.push_back(row->name);
        if (row->scope == OptionScope::Capture && !firstForCapture) firstForCapture = row;
        if (row->scope == OptionScope::LiveShow && !firstForLiveShow) firstForLiveShow = row;
    }
    if (!options.capture && firstForCapture) {
        return OptionError{std::string(firstForCapture->name) + " needs --capture FILE"};
    }
    if (options.capture && firstForLiveShow) {
        return OptionError{std::string(firstForLiveShow->name) +
                           " is for the show on screen; a --capture has no window and no sound device"};
    }
    if (const std::optional<std::string> refusal = refusedCombination(options)) return OptionError{*refusal};
    return options;
}

namespace {

constexpr std::size_t kHelpColumn = 21;
constexpr std::size_t kLineWidth = 79;

// `text` wrapped into lines of at most kLineWidth, each begun with `indent`
// spaces; `line` is what the first line already holds.
void addWrapped(std::string& out, std::string line, std::size_t indent, std::string_view text) {
    line.resize(std::max(line.size(), indent), ' ');
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t space = text.find(' ', start);
        const std::string_view word = text.substr(start, space - start);
        start = space == std::string_view::npos ? text.size() : space + 1;
        if (line.size() > indent && line.size() + 1 + word.size() > kLineWidth) {
            out += line + "\n";
            line.assign(indent, ' ');
        }
        if (line.size() > indent) line += ' ';
        line += word;
    }
    out += line + "\n";
}

// A synopsis or name, then its help wrapped into a column of its own.
void addHelp(std::string& text, const std::string& label, std::string_view help) {
    std::string line = "  " + label;
    if (line.size() >= kHelpColumn) {
        text += line + "\n";
        line.clear();
    }
    addWrapped(text, line, kHelpColumn, help);
}

constexpr UsageNote kEnvironment[] = {
    {"SDL_AUDIODRIVER",
     "the sound system SDL plays the music through: pipewire, pulseaudio, alsa, ...; unset, SDL tries them in "
     "turn. Without a sound device that opens, the show plays silently with its cues on time"},
    {"DISPLAY", "the X display the show opens its window on; a --capture needs none"},
};

constexpr UsageNote kExitStatus[] = {
    {"0", "the show or the capture ended"},
    {"1", "a capture failed, or the --timings file could not be written"},
    {"2", "a bad option, or a --data folder that cannot be entered"},
};

}  // namespace

std::string_view showDescription() {
    return "Marrowick, a real-time intro: chess, a ship, an alien and the closing credits, driven by the cue points of "
           "its music. It reads its data (demot.wav, transFont.tle, demoMesh/, ting/, the pictures) from the folder "
           "--data names; else from the current folder, when that holds it; else from the pack installed with the "
           "program, ../share/marrowick beside the folder it is in. It plays full screen and ends by itself when "
           "the music reaches its closing cue.";
}

UsageNotes environmentNotes() { return {kEnvironment, std::size(kEnvironment)}; }
UsageNotes exitStatusNotes() { return {kExitStatus, std::size(kExitStatus)}; }

std::string tryHelpLine(const std::string& program) { return "Try '" + program + " --help' for more information.\n"; }

std::string usageText(const std::string& program) {
    std::string text = "Usage: " + program + " [OPTION]...\n";
    addWrapped(text, "", 0, showDescription());
    text += "\n";
    // The options of any run and of the show on screen, then those of a capture.
    for (const OptionRow& row : optionTable()) {
        if (row.scope != OptionScope::Capture) addHelp(text, optionSynopsis(row), row.help);
    }
    text += "\n";
    for (const OptionRow& row : optionTable()) {
        if (row.scope == OptionScope::Capture) addHelp(text, optionSynopsis(row), row.help);
    }
    text += "\nOther arguments go to GLUT (-display, -geometry, ...).\n\nEnvironment:\n";
    for (const UsageNote& note : environmentNotes()) addHelp(text, std::string(note.name), note.meaning);
    text += "\nExit status:\n";
    for (const UsageNote& note : exitStatusNotes()) addHelp(text, std::string(note.name), note.meaning);
    return text;
}
