// The player's commands in any order, any number of times: wherever they
// leave the show, its next frame is the one a straight run drew at that show
// time, with the music on the same sample. The straight run covers the chess
// section and the start of the ship's; commands that would leave it are
// skipped, so the show never reaches its end here.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "OffscreenShow.h"
#include "show/Show.h"
#include "show/Transport.h"

namespace {

constexpr std::uint64_t kFrames = 900;  // 10.8 s: past the chess section's end

// Whether a command keeps the show inside the straight run.
bool staysInside(PlayerCommand command, const Transport& player, const Show& timeline) {
    const std::uint64_t now = timeline.frame();
    switch (command) {
    case PlayerCommand::NextCue: {
        const Chapter* next = timeline.chapterAfter(now > 0 ? now - 1 : 0);
        return next != nullptr && next->frame + 1 < kFrames;
    }
    case PlayerCommand::Forward:
        return now + 10000 / timeline.periodMs() + 1 < kFrames;
    case PlayerCommand::Step:
        return !player.paused() || now + 1 < kFrames;
    default:
        return true;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Built once; the show's objects live as long as the process.
    static auto* show = new testsupport::OffscreenShow(MARROWICK_PACK_DIR, 48, 36, kFrames);
    Show& timeline = show->show();
    Transport player(timeline);
    // Back inside the straight run, wherever the last input left the show.
    const auto keepInside = [&] {
        if (timeline.frame() + 1 >= kFrames) timeline.seek(timeline.frame() % (kFrames / 2));
    };
    keepInside();
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const std::uint8_t what = data[i] % 10, how = data[i + 1];
        if (what == 0) {
            timeline.seek(how * kFrames / 256);
        } else if (what == 9) {
            for (int n = how % 16; n > 0 && timeline.frame() + 2 < kFrames && !player.looping(); --n) {
                player.runFrame(false);
            }
        } else {
            const auto command = static_cast<PlayerCommand>(what - 1);
            if (staysInside(command, player, timeline)) player.command(command);
        }
        keepInside();
    }
    const std::uint64_t frame = timeline.frame();
    const testsupport::ShowMoment moment = show->drawNext();
    const testsupport::ShowMoment& straight = show->straight()[frame];
    if (moment.pixels != straight.pixels || moment.sample != straight.sample) {
        std::fprintf(stderr, "frame %llu differs from the straight run's\n", static_cast<unsigned long long>(frame));
        std::abort();
    }
    return 0;
}
