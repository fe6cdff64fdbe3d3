#include "ManPage.h"

#include "app/OptionParser.h"
#include "app/OptionTable.h"
#include "show/PlayerKeys.h"

std::string troffText(std::string_view text) {
    std::string out;
    if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '(' || text[i - 1] == '-' ||
                                (i + 1 < text.size() && text[i + 1] == '-'))) {
            out += "\\-";
        } else if (c == '\n') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// "--size WxH": the name bold, its argument italic.
std::string optionTag(const OptionRow& row) {
    const std::string name = "\\fB" + troffText(row.name) + "\\fR";
    const std::string argument = "\\fI" + troffText(row.placeholder) + "\\fR";
    switch (row.argument) {
    case OptionArgument::None:
        return name;
    case OptionArgument::Required:
        return name + " " + argument;
    case OptionArgument::AfterEquals:
        return name + "[=" + argument + "]";
    }
    return name;
}

void addItem(std::string& page, const std::string& tag, std::string_view text) {
    page += ".TP\n" + tag + "\n" + troffText(text) + "\n";
}

}  // namespace

std::string manPage(const ManPageFacts& facts) {
    std::string page = ".TH MARROWICK 1 \"" + facts.date + "\" \"marrowick " + facts.version +
                       "\" \"User Commands\"\n"
                       ".nh\n"
                       ".SH NAME\n"
                       "marrowick \\- a real-time intro: chess, a ship, an alien and the closing credits\n"
                       ".SH SYNOPSIS\n"
                       ".B marrowick\n"
                       "[\\fIOPTION\\fR]...\n"
                       ".SH DESCRIPTION\n" +
                       troffText(showDescription()) +
                       "\n"
                       ".PP\n"
                       "Other arguments go to GLUT (\\-display, \\-geometry, ...).\n"
                       ".SH OPTIONS\n";
    for (const OptionRow& row : optionTable()) {
        if (row.scope != OptionScope::Capture) addItem(page, optionTag(row), row.help);
    }
    page += ".SS Capturing the show to a video\n";
    for (const OptionRow& row : optionTable()) {
        if (row.scope == OptionScope::Capture) addItem(page, optionTag(row), row.help);
    }
    page += ".SH KEYS\nThe keys below work with \\-\\-player.\n";
    for (const PlayerKey& key : kPlayerKeys) addItem(page, "\\fB" + troffText(key.keys) + "\\fR", key.effect);
    page += ".SH ENVIRONMENT\n";
    for (const UsageNote& note : environmentNotes())
        addItem(page, "\\fB" + troffText(note.name) + "\\fR", note.meaning);
    page += ".SH EXIT STATUS\n";
    for (const UsageNote& note : exitStatusNotes()) addItem(page, troffText(note.name), note.meaning);
    page += ".SH FILES\n";
    addItem(page, "\\fI" + troffText(facts.dataPath) + "/\\fR",
            "the show's data as installed: its music with the cue points, the pictures, the font and the 3DS "
            "models, read when neither --data nor the current folder gives them");
    page += ".SH SEE ALSO\n.BR ffmpeg (1)\n";
    return page;
}
