// The manual page, marrowick(1), as troff for the man macros.
#pragma once

#include <string>
#include <string_view>

struct ManPageFacts {
    std::string version;   // "1.1.0"
    std::string date;      // of the release, "2026-12-08"
    std::string dataPath;  // where the installed pack is, "/usr/share/marrowick"
};

std::string manPage(const ManPageFacts& facts);

// Text as troff prints it literally: backslashes escaped, a hyphen that
// begins a word an option's minus sign, and a line that would start with a
// control character made harmless.
std::string troffText(std::string_view text);
