#include "platform/ShowEnd.h"

#include <cstdlib>
#include <utility>

namespace platform {
namespace {

std::function<void()>& ending() {
    static std::function<void()> current;
    return current;
}

}  // namespace

void endShow() {
    if (ending()) ending()();
    std::exit(0);
}

void setShowEnding(std::function<void()> replacement) { ending() = std::move(replacement); }

}  // namespace platform
