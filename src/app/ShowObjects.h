// The show's global objects and its start-up: built before main() runs, in
// one fixed order, by the executable (never by linking the library).
#pragma once

#include "app/Entry.h"

// The frame loop's view of the objects, for runShow().
const ShowLoop& showLoop();
