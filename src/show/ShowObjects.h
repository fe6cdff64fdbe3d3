// The show's objects and its start-up: built once per process, in one fixed
// order, by whoever runs the show (the executable, or a test that wants the
// whole show); never as a side effect of linking the library.
#pragma once

#include <string>
#include <vector>

#include "show/ShowFrame.h"

// Builds the objects on the first call (a missing or bad data file ends the
// process here, with its message) and returns the frame loop's view of
// them. They live until the process exits.
const ShowLoop& buildShowObjects();

// The JPG files that start-up loads, in the order it loads them, each as
// often as it is loaded: decoded ahead on spare cores while the objects are
// built and the window opens.
const std::vector<std::string>& startUpPictures();
