#include "FatalExitExpectation.h"
#include "platform/FatalExit.h"

TEST(FatalExit, PrintsTheMessageExactlyAndExitsWithZero) {
    EXPECT_FATAL_EXIT(platform::fatalExit("no such file x.wav exiting\n"), "no such file x.wav exiting\n");
    EXPECT_FATAL_EXIT(platform::fatalExit("Unable to load TGA File!Error, MB_OK"),
                      "Unable to load TGA File!Error, MB_OK");
}

TEST(FatalExit, OutputWrittenBeforeIsFlushedToo) {
    EXPECT_FATAL_EXIT(
        {
            std::cout << "TileFile 1 2\n";
            platform::fatalExit("bye\n");
        },
        "TileFile 1 2\nbye\n");
}
