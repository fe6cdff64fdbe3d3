// Whether an OpenGL context is current on this thread. Some of the show's
// objects are built before the window exists and must not talk to OpenGL
// until it does; the show draws through GLX, the tests and tools through EGL.
#pragma once

namespace platform {

bool hasCurrentGlContext();

}  // namespace platform
