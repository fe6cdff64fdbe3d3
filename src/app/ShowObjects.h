// The show's objects and its start-up: built once per process, in one fixed
// order, by whoever runs the show (the executable, or a test that wants the
// whole show); never as a side effect of linking the library.
#pragma once

#include "app/Entry.h"

// Builds the objects on the first call (a missing or bad data file ends the
// process here, with its message) and returns the frame loop's view of
// them. They live until the process exits.
const ShowLoop& buildShowObjects();
