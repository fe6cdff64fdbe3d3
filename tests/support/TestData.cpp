#include "TestData.h"

#include <cstdlib>
#include <filesystem>

namespace testsupport {

std::string testDataPath(const std::string& relative) { return std::string(MARROWICK_TESTDATA_DIR) + "/" + relative; }

std::string testDataMissing() {
    std::error_code error;
    if (std::filesystem::is_directory(MARROWICK_TESTDATA_DIR, error)) return {};
    return "test data not found in " MARROWICK_TESTDATA_DIR
           " (configure with -DMARROWICK_TESTDATA_DIR=<folder> to point elsewhere)";
}

bool testDataRequired() {
    const char* value = std::getenv("MARROWICK_REQUIRE_TESTDATA");
    return value != nullptr && std::string(value) == "1";
}

}  // namespace testsupport
