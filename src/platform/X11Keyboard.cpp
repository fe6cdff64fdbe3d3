// The desktop's keyboard: the X server's key map, asked directly.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "platform/SystemKeyboard.h"

namespace platform {
namespace {

// A connection of our own, so the query never disturbs GLUT's event stream.
class KeyboardConnection {
public:
    KeyboardConnection() : display_(XOpenDisplay(nullptr)) {
        if (display_ != nullptr) spaceCode_ = XKeysymToKeycode(display_, XK_space);
    }
    ~KeyboardConnection() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    KeyboardConnection(const KeyboardConnection&) = delete;
    KeyboardConnection& operator=(const KeyboardConnection&) = delete;

    bool isSpaceDown() const {
        if (display_ == nullptr || spaceCode_ == 0) return false;
        char keys[32];
        XQueryKeymap(display_, keys);
        return (keys[spaceCode_ / 8] & (1 << (spaceCode_ % 8))) != 0;
    }

private:
    Display* display_;
    KeyCode spaceCode_ = 0;
};

}  // namespace

bool systemSpaceDown() {
    static const KeyboardConnection connection;
    return connection.isSpaceDown();
}

}  // namespace platform
