// The keys of the player (--player), one row each. The player's overlay and
// help, and the manual page, all list them from here, so a key is added or
// changed in this table and nowhere else.
#pragma once

#include <string_view>

struct PlayerKey {
    std::string_view keys;    // as a person names them: "Esc, q", "Page Down / Page Up"
    std::string_view effect;  // one line, unwrapped
};

inline constexpr PlayerKey kPlayerKeys[] = {
    {"Esc, q", "end the show at once"},
    {"p", "pause and resume"},
    {"Right / Left", "next / previous cue (Left within a second of a cue's start goes to the one before)"},
    {"Page Down / Page Up", "forward / back 10 seconds"},
    {"Home", "back to the start"},
    {"l", "loop the current cue span until pressed again"},
    {". (period)", "step one frame while paused"},
    {"h", "show or hide the overlay (show time, cue, section, frame rate)"},
    {"f", "full screen on or off"},
    {"s", "save the frame on screen as marrowick-CUE-MmSS.mmms.png in the current folder (never over a file there)"},
    {"space", "restart the roll in the chess section (as always, also without --player)"},
};
