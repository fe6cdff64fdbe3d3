// Reading the command line against the option table. Arguments that are not
// the show's own (GLUT's "-display", "-geometry", ...) are left for GLUT.
// Parsing is pure: arguments in, options or an error out.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/ShowOptions.h"

struct OptionError {
    std::string message;  // one line, without the program name
};

std::variant<ShowOptions, OptionError> parseShowOptions(const std::vector<std::string>& arguments);

// What --help prints, and what goes to standard error with an option error.
std::string usageText(const std::string& program);
