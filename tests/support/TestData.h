// Real files written by others (pictures, sounds, models) are not part of the
// repository: they sit in the folder the build was configured with
// (MARROWICK_TESTDATA_DIR, by default ../shared/testdata beside the checkout).
// A clone without them still builds and tests; each test that reads them
// starts with SKIP_WITHOUT_TESTDATA(), which skips it with one line naming the
// folder, or fails it when MARROWICK_REQUIRE_TESTDATA=1 (as in CI), so the
// files can never go missing unnoticed there.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// The path of a file in the test-data folder, e.g. "jpg/pillow/hopper.jpg".
std::string testDataPath(const std::string& relative);

// Empty while the folder is there; otherwise the one line that says where it
// was looked for.
std::string testDataMissing();

// MARROWICK_REQUIRE_TESTDATA=1 in the environment.
bool testDataRequired();

}  // namespace testsupport

// In a test body or a fixture's SetUp, before the first file is read.
#define SKIP_WITHOUT_TESTDATA()                                                          \
    do {                                                                                 \
        const std::string marrowickTestDataMissing = ::testsupport::testDataMissing();   \
        if (!marrowickTestDataMissing.empty()) {                                         \
            if (::testsupport::testDataRequired()) {                                     \
                FAIL() << marrowickTestDataMissing << " (MARROWICK_REQUIRE_TESTDATA=1)"; \
            }                                                                            \
            GTEST_SKIP() << marrowickTestDataMissing;                                    \
        }                                                                                \
    } while (false)
