#include "platform/Cores.h"

#include <thread>

namespace platform {

unsigned spareCores() {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    return 0;
#else
    // At least one even on one core: decoding ahead still overlaps the
    // reads with the drawing thread's own start-up.
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 2 ? cores - 1 : 1;
#endif
}

}  // namespace platform
