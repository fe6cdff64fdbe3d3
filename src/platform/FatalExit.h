// The one way the show gives up: a fixed message on standard output, then the
// C library exit with code 0 (so the objects' clean-up still runs).
#pragma once

#include <string_view>

namespace platform {

// Writes `message` exactly as given (callers include any line end), flushes
// and exits with code 0.
[[noreturn]] void fatalExit(std::string_view message);

// Thrown by fatalExit, after its message, while the show's objects are being
// built: the language then takes down the objects already built, in reverse
// order, as the exit would have; whoever builds them catches it and exits.
struct FatalExitWhileBuilding {};

// While one exists, fatalExit throws instead of exiting.
class FatalExitUnwinds {
public:
    FatalExitUnwinds();
    ~FatalExitUnwinds();
    FatalExitUnwinds(const FatalExitUnwinds&) = delete;
    FatalExitUnwinds& operator=(const FatalExitUnwinds&) = delete;
};

}  // namespace platform
