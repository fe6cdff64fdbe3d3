// The one way the show gives up: a fixed message on standard output, then the
// C library exit with code 0 (so the global objects' clean-up still runs).
#pragma once

#include <string_view>

namespace platform {

// Writes `message` exactly as given (callers include any line end), flushes
// and exits with code 0.
[[noreturn]] void fatalExit(std::string_view message);

}  // namespace platform
