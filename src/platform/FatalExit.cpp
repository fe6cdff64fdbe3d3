#include "platform/FatalExit.h"

#include <atomic>
#include <cstdlib>
#include <iostream>

namespace platform {

namespace {

// Process-wide: a fatal exit can come from any object being built.
std::atomic<int> unwinding{0};

}  // namespace

void fatalExit(std::string_view message) {
    std::cout << message;
    std::cout.flush();
    if (unwinding > 0) throw FatalExitWhileBuilding{};
    std::exit(0);
}

FatalExitUnwinds::FatalExitUnwinds() { ++unwinding; }
FatalExitUnwinds::~FatalExitUnwinds() { --unwinding; }

}  // namespace platform
