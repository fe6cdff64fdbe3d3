// Text the user typed, as one line of a message shows it: control
// characters become escapes, so what was typed cannot break the message's
// one line or send the terminal a command.
#pragma once

#include <string>

std::string shownInMessage(const std::string& text);
