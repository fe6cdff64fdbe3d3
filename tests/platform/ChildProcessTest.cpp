// A program started beside the show runs at the priority asked for, below
// ours, while ours stays as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <optional>
#include <string>

#include "WorkingDirectory.h"
#include "platform/ChildProcess.h"

TEST(ChildProcess, RunsAsManyStepsBelowUsAsAskedAndLeavesUsAsWeWere) {
    const std::optional<std::string> nice = platform::findOnPath("nice");
    ASSERT_TRUE(nice) << "coreutils' nice is not on the PATH";
    errno = 0;
    const int ours = ::getpriority(PRIO_PROCESS, 0);
    ASSERT_EQ(errno, 0);
    testsupport::ScratchDirectory scratch;
    for (const int niceness : {0, 3, 10}) {
        SCOPED_TRACE(niceness);
        const std::string log = (scratch.path() / "nice.log").string();
        {
            // nice without arguments prints the nice value it runs at.
            platform::ChildProcess child({*nice}, log, niceness);
            ASSERT_EQ(child.finish(), 0);
        }
        std::ifstream said(log);
        int theirs = -100;
        said >> theirs;
        EXPECT_EQ(theirs, std::min(ours + niceness, 19));
        EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), ours);
    }
}
