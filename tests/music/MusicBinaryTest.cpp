#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "WorkingDirectory.h"

namespace fs = std::filesystem;

// The real program in a data directory that lacks only the music: it must
// say so and leave with code 0 before it opens a window.
TEST(MusicBinary, MissingMusicFileEndsTheShowWithItsMessage) {
    const fs::path bin = fs::path(MARROWICK_BINARY_DIR) / "bin";
    const testsupport::ScratchDirectory scratch;
    const fs::path& dir = scratch.path();
    const std::string makePack = (bin / "marrowick-pack").string() + " --short " + dir.string() + " >/dev/null";
    ASSERT_EQ(std::system(makePack.c_str()), 0);
    ASSERT_TRUE(fs::remove(dir / "demot.wav"));

    // No display: a window attempt would fail loudly instead of appearing.
    const std::string run = "cd " + dir.string() + " && env -u DISPLAY -u WAYLAND_DISPLAY timeout 30 " +
                            (bin / "marrowick").string() + " 2>/dev/null";
    FILE* show = ::popen(run.c_str(), "r");
    ASSERT_NE(show, nullptr);
    std::string output;
    char buffer[256];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, show)) > 0) output.append(buffer, got);
    const int status = ::pclose(show);

    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // Whatever the objects built before the music print comes first; the music's line ends it.
    const std::string message = "no such file demot.wav exiting\n";
    ASSERT_GE(output.size(), message.size()) << output;
    EXPECT_EQ(output.substr(output.size() - message.size()), message);
}
