// The one-second rule of "previous cue" from both sides, on the full pack,
// whose chapters are longer than a second (the short pack's are not).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/OffscreenGl.h"
#include "show/OfflineClock.h"
#include "show/Show.h"
#include "show/Transport.h"

TEST(Transport, PreviousCueGoesBackOneChapterOnlyWithinASecondOfItsStart) {
    OfflineClock clock;
    static Show show(MARROWICK_FULL_PACK_DIR, &clock);  // lives to the exit, as every show does
    platform::OffscreenGl context(64, 48);
    show.start();
    const std::vector<Chapter>& chapters = show.chapters();
    // A chapter of more than two seconds, not the first.
    std::size_t longOne = 1;
    while (longOne + 1 < chapters.size() &&
           (chapters[longOne + 1].frame - chapters[longOne].frame) * show.periodMs() < 2000)
        ++longOne;
    ASSERT_LT(longOne + 1, chapters.size()) << "no chapter of the full pack is over two seconds";
    const std::uint64_t start = chapters[longOne].frame;
    const std::uint64_t before = chapters[longOne - 1].frame;

    const struct {
        std::uint64_t shownAfterStart;  // frames
        std::uint64_t lands;
    } cases[] = {
        {0, before}, {1, before}, {83, before},  // 996 ms in: still its start
        {84, start}, {85, start}, {150, start},  // 1008 ms and on
    };
    Transport transport(show);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.shownAfterStart) + " frames into " + chapters[longOne].name);
        show.seek(start + c.shownAfterStart + 1);  // the frame after the one shown
        transport.command(PlayerCommand::PreviousCue);
        EXPECT_EQ(show.frame(), c.lands);
    }
}
