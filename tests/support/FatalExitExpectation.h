// Fatal paths print a fixed message on standard output and exit with code 0.
// EXPECT_FATAL_EXIT runs the statement in a death-test child with standard
// output sent to the stream the death test reads, and checks both the code
// and the exact text.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace testsupport {

inline void sendStdoutToStderr() {
    std::cout.flush();
    std::fflush(stdout);
    ::dup2(2, 1);
}

}  // namespace testsupport

#define EXPECT_FATAL_EXIT(statement, message)    \
    EXPECT_EXIT(                                 \
        {                                        \
            ::testsupport::sendStdoutToStderr(); \
            statement;                           \
        },                                       \
        ::testing::ExitedWithCode(0), ::testing::Eq(std::string(message)))
