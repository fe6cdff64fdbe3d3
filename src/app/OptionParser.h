// Reading the command line against the option table. Arguments that are not
// the show's own (GLUT's "-display", "-geometry", ...) are left for GLUT.
// Parsing is pure: arguments in, options or an error out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/ShowOptions.h"

struct OptionError {
    std::string message;  // one line, without the program name
};

std::variant<ShowOptions, OptionError> parseShowOptions(const std::vector<std::string>& arguments);

// What --help prints.
std::string usageText(const std::string& program);

// What follows the one line of an option error on standard error.
std::string tryHelpLine(const std::string& program);

// What the show is and where it reads its data from: one paragraph,
// unwrapped, which --help and the manual page both begin with.
std::string_view showDescription();

// A name and what it means, for the notes --help and the manual page end with.
struct UsageNote {
    std::string_view name;
    std::string_view meaning;  // one paragraph, unwrapped
};
struct UsageNotes {
    const UsageNote* notes;
    std::size_t size;
    const UsageNote* begin() const { return notes; }
    const UsageNote* end() const { return notes + size; }
};

// The environment variables that change what the show does.
UsageNotes environmentNotes();
// Each exit status, and when the program ends with it.
UsageNotes exitStatusNotes();
