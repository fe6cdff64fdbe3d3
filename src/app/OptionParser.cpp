#include "app/OptionParser.h"

#include <optional>

#include "app/OptionTable.h"

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
        }
        if (const std::optional<std::string> refusal = row->apply(options, value)) {
            return OptionError{name + ": " + *refusal};
        }
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

// The option's synopsis, then its help wrapped into a column of its own.
void addHelp(std::string& text, const OptionRow& row) {
    std::string line = "  " + optionSynopsis(row);
    if (line.size() >= kHelpColumn) {
        text += line + "\n";
        line.clear();
    }
    line.resize(kHelpColumn, ' ');
    std::size_t start = 0;
    while (start < row.help.size()) {
        const std::size_t space = row.help.find(' ', start);
        const std::string_view word = row.help.substr(start, space - start);
        start = space == std::string_view::npos ? row.help.size() : space + 1;
        if (line.size() > kHelpColumn && line.size() + 1 + word.size() > kLineWidth) {
            text += line + "\n";
            line.assign(kHelpColumn, ' ');
        }
        if (line.size() > kHelpColumn) line += ' ';
        line += word;
    }
    text += line + "\n";
}

}  // namespace

std::string usageText(const std::string& program) {
    std::string text = "Usage: " + program +
                       " [OPTION]...\n"
                       "Marrowick, a real-time intro: chess, a ship, an alien and the closing credits,\n"
                       "driven by the cue points of its music. Run it in the folder that holds its data\n"
                       "(demot.wav, transFont.tle, demoMesh/, ting/, the pictures) or name that folder\n"
                       "with --data; it plays full screen and ends by itself when the music reaches its\n"
                       "closing cue.\n"
                       "\n";
    // The options of any run and of the show on screen, then those of a capture.
    for (const OptionRow& row : optionTable()) {
        if (row.scope != OptionScope::Capture) addHelp(text, row);
    }
    text += "\n";
    for (const OptionRow& row : optionTable()) {
        if (row.scope == OptionScope::Capture) addHelp(text, row);
    }
    return text +
           "\n"
           "Other arguments go to GLUT (-display, -geometry, ...).\n"
           "Exit status: 0 when the show or the capture ends; 1 when a capture fails;\n"
           "2 for a bad option or a --data folder that cannot be entered.\n";
}
