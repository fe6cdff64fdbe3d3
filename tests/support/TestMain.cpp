// main() for every test binary: GoogleTest plus a guard that turns an exit()
// reached inside a test into a failure. Without it a test that wanders into a
// fatal path would end the binary with code 0 and look like a pass. Death
// tests are exempt: their child process is meant to exit.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string runningTest;

class ExitGuard : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& info) override {
        runningTest = std::string(info.test_suite_name()) + "." + info.name();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { runningTest.clear(); }
};

void failIfInsideTest() {
    if (runningTest.empty() || ::testing::internal::InDeathTestChild()) return;
    std::fprintf(stderr, "\nFAILED: exit() was called inside test %s\n", runningTest.c_str());
    std::fflush(nullptr);
    ::_exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Re-executing the binary for a death test is safe with the worker
    // threads that Mesa and SDL start; forking them is not.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::testing::UnitTest::GetInstance()->listeners().Append(new ExitGuard);
    std::atexit(failIfInsideTest);
    return RUN_ALL_TESTS();
}
