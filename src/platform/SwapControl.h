// The driver's swap synchronisation. Many drivers hold every buffer swap
// until the display's next refresh, which would pin the show at the
// display's rate (60 frames a second on a 60 Hz screen) instead of its own
// limiter's one frame per 12 ms.
#pragma once

namespace platform {

// Asks the driver of the current GLX context to swap without waiting for the
// refresh, through whichever swap-control extension the driver offers (EXT,
// then MESA, then SGI). Does nothing without a current context or where the
// driver offers none.
void requestUnsyncedSwaps();

}  // namespace platform
