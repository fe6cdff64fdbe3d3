// A file written whole or not at all: what is under the name after each way
// a write can end, with a file of the user's there already. A full disk is
// the process's file size limit: writes past it fail with EFBIG.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "WorkingDirectory.h"
#include "platform/StagedFile.h"

namespace fs = std::filesystem;

TEST(StagedFile, OnlyAWholeFileEverHasTheNameAskedFor) {
    const struct {
        const char* what;
        std::size_t bytes;
        rlim_t limit;  // the disk's room
        bool asNew;    // placeAsNew rather than replace
        int error;     // 0: the new bytes are under the name
    } cases[] = {
        {"replace", 100, RLIM_INFINITY, false, 0},
        {"replace on a full disk", 65536, 4096, false, EFBIG},
        {"as new over the user's file", 100, RLIM_INFINITY, true, EEXIST},
        {"as new on a full disk", 65536, 4096, true, EFBIG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const testsupport::ScratchDirectory scratch;
        const fs::path target = scratch.path() / "frame.png";
        std::ofstream(target) << "the user's own";
        const std::string bytes(c.bytes, 'x');
        bool placed = false;
        {
            platform::StagedFile staged(target.string());
            ASSERT_TRUE(staged.created());
            rlimit room{};
            getrlimit(RLIMIT_FSIZE, &room);
            const rlimit previous = room;
            room.rlim_cur = c.limit;
            const auto handler = std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &room);
            staged.write(bytes.data(), bytes.size());
            setrlimit(RLIMIT_FSIZE, &previous);
            std::signal(SIGXFSZ, handler);
            placed = c.asNew ? staged.placeAsNew(target.string()) : staged.replace(target.string());
            EXPECT_EQ(staged.error(), c.error);
        }
        EXPECT_EQ(placed, c.error == 0);
        std::ifstream in(target);
        const std::string now{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_TRUE(now == (c.error == 0 ? bytes : "the user's own")) << now.size() << " bytes";
        // Nothing else is left in the folder, whole or not.
        EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
    }
}
