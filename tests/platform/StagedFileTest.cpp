// A file written whole or not at all: what is in the folder after each way
// a write can end, with a file of the user's already under the name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FileSizeLimit.h"
#include "WorkingDirectory.h"
#include "platform/StagedFile.h"

namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(StagedFile, OnlyAWholeFileEverHasTheNameAskedFor) {
    const std::string big(64 * 1024, 'x');
    const struct {
        const char* what;
        std::string bytes;
        bool full;    // the disk is full for these bytes
        bool asNew;   // placeAsNew rather than replace
        bool placed;  // the bytes are under the name after
        int error;    // why not
    } cases[] = {
        {"replace", "new picture", false, false, true, 0},
        {"replace on a full disk", big, true, false, false, EFBIG},
        {"as new over the user's file", "new picture", false, true, false, EEXIST},
        {"as new on a full disk", big, true, true, false, EFBIG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const testsupport::ScratchDirectory scratch;
        const fs::path target = scratch.path() / "frame.png";
        std::ofstream(target) << "the user's own";
        bool placed = false;
        int error = 0;
        {
            platform::StagedFile staged(target.string());
            ASSERT_TRUE(staged.created());
            EXPECT_EQ(fs::path(staged.path()).parent_path(), scratch.path());
            {
                const testsupport::FileSizeLimit limit(c.full ? 4096 : RLIM_INFINITY);
                staged.write(c.bytes.data(), c.bytes.size());
            }
            placed = c.asNew ? staged.placeAsNew(target.string()) : staged.replace(target.string());
            error = staged.error();
        }
        EXPECT_EQ(placed, c.placed);
        EXPECT_EQ(error, c.error);
        const std::string now = contentOf(target);
        EXPECT_TRUE(now == (c.placed ? c.bytes : "the user's own")) << now.size() << " bytes: " << now.substr(0, 20);
        // Nothing else is left in the folder, whole or not.
        EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
    }
}

TEST(StagedFile, TakenNamesAreSkippedAndAFolderThatCannotBeWrittenSaysWhy) {
    const testsupport::ScratchDirectory scratch;
    const fs::path first = scratch.path() / "a.png", second = scratch.path() / "a-2.png";
    std::ofstream(first) << "kept";
    {
        platform::StagedFile staged(first.string());
        ASSERT_TRUE(staged.write("new", 3));
        EXPECT_FALSE(staged.placeAsNew(first.string()));
        EXPECT_TRUE(staged.placeAsNew(second.string()));
    }
    EXPECT_EQ(contentOf(first), "kept");
    EXPECT_EQ(contentOf(second), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 2);

    const platform::StagedFile nowhere((scratch.path() / "no" / "such" / "a.png").string());
    EXPECT_FALSE(nowhere.created());
    EXPECT_EQ(nowhere.error(), ENOENT);
}
