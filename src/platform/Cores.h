// How many threads of its own the show may start beside the one that draws:
// the processor's other cores on the desktop, none in a browser page (which
// has no threads without cross-origin isolation), where the work is done
// inline instead.
#pragma once

namespace platform {

unsigned spareCores();

}  // namespace platform
