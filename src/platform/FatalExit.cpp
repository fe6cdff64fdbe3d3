#include "platform/FatalExit.h"

#include <cstdlib>
#include <iostream>

namespace platform {

void fatalExit(std::string_view message) {
    std::cout << message;
    std::cout.flush();
    std::exit(0);
}

}  // namespace platform
