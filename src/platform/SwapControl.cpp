#include "platform/SwapControl.h"

#include <GL/glx.h>

#include <cstring>

namespace platform {
namespace {

// Whether a space-separated extension list names this extension exactly.
bool offers(const char* list, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = list; at != nullptr && (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

template <typename Function>
Function lookUp(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

void requestUnsyncedSwaps() {
    Display* display = glXGetCurrentDisplay();
    const GLXContext context = glXGetCurrentContext();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || context == nullptr || drawable == 0) return;
    int screen = DefaultScreen(display);
    glXQueryContext(display, context, GLX_SCREEN, &screen);
    // The list of what this screen's driver can do for this context; a
    // function found by name alone may be a stub the driver never fills in.
    const char* extensions = glXQueryExtensionsString(display, screen);
    if (offers(extensions, "GLX_EXT_swap_control")) {
        if (const auto swapInterval = lookUp<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT")) {
            swapInterval(display, drawable, 0);
            return;
        }
    }
    if (offers(extensions, "GLX_MESA_swap_control")) {
        if (const auto swapInterval = lookUp<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA")) {
            swapInterval(0);
            return;
        }
    }
    // Some drivers refuse 0 here; there is nothing more to ask.
    if (offers(extensions, "GLX_SGI_swap_control")) {
        if (const auto swapInterval = lookUp<PFNGLXSWAPINTERVALSGIPROC>("glXSwapIntervalSGI")) swapInterval(0);
    }
}

}  // namespace platform
