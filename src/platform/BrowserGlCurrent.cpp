// The browser's: a WebGL context made current on the page's canvas.
#include <emscripten/html5_webgl.h>

#include "platform/GlCurrent.h"

namespace platform {

bool hasCurrentGlContext() { return emscripten_webgl_get_current_context() != 0; }

}  // namespace platform
