#include "platform/GlCurrent.h"

#include <EGL/egl.h>
#include <GL/glx.h>

namespace platform {

bool hasCurrentGlContext() { return glXGetCurrentContext() != nullptr || eglGetCurrentContext() != EGL_NO_CONTEXT; }

}  // namespace platform
