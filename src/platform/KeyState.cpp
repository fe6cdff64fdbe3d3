#include "platform/KeyState.h"

#include "platform/SystemKeyboard.h"

#include <utility>

namespace platform {
namespace {

KeySource& source() {
    static KeySource current;
    return current;
}

}  // namespace

bool isSpaceDown() {
    const KeySource& current = source();
    return current ? current() : systemSpaceDown();
}

void setSpaceKeySource(KeySource replacement) { source() = std::move(replacement); }

}  // namespace platform
