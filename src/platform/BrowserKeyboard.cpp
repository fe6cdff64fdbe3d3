// The browser's keyboard: the page tells the show of its key events, so the
// front end replaces the query; nothing is down otherwise.
#include "platform/SystemKeyboard.h"

namespace platform {

bool systemSpaceDown() { return false; }

}  // namespace platform
