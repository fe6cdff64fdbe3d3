// The player's commands in any order, any number of times: wherever they
// leave the show, its next frame is the one a straight run drew at that show
// time, with the music on the same sample. The straight run covers the chess
// section and the start of the ship's; commands that would leave it are
// skipped, so the show never reaches its end here.
#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/OfflineClock.h"
#include "app/ShowFrame.h"
#include "app/ShowObjects.h"
#include "app/ShowPlayer.h"
#include "app/ShowTimeline.h"
#include "audio/AudioStream.h"
#include "music/Music.h"
#include "platform/DataPath.h"
#include "platform/OffscreenGl.h"

namespace {

constexpr int kWidth = 48, kHeight = 36;
constexpr std::uint64_t kFrames = 900;  // 10.8 s: past the chess section's end

struct Moment {
    std::uint64_t pixels;
    std::uint32_t sample;
};

struct Show {
    Show() {
        platform::setDataFolder(MARROWICK_PACK_DIR);
        const ShowLoop& loop = buildShowObjects();
        setShowLoop(loop);
        init();
        reshapeOnto(centredFourByThree(kWidth, kHeight));
        stream = loop.music.getStream();
        timeline = std::make_unique<ShowTimeline>(loop, clock);
        while (timeline->frame() < kFrames) straight.push_back(drawNext());
    }

    Moment drawNext() {
        const std::uint32_t sample = audio::streamPosition(stream).frame;
        timeline->runFrame(true);
        std::vector<std::uint8_t> pixels(kWidth * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        std::uint64_t hash = 1469598103934665603ull;
        for (const std::uint8_t byte : pixels) hash = (hash ^ byte) * 1099511628211ull;
        return {hash, sample};
    }

    OfflineClock clock;
    platform::OffscreenGl context{kWidth, kHeight};
    audio::AudioStream* stream = nullptr;
    std::unique_ptr<ShowTimeline> timeline;
    std::vector<Moment> straight;
};

// Whether a command keeps the show inside the straight run.
bool staysInside(PlayerCommand command, const ShowPlayer& player, const ShowTimeline& timeline) {
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
    static Show* show = new Show;  // built once; the show's objects live as long as the process
    ShowTimeline& timeline = *show->timeline;
    ShowPlayer player(timeline);
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
    const Moment moment = show->drawNext();
    if (moment.pixels != show->straight[frame].pixels || moment.sample != show->straight[frame].sample) {
        std::fprintf(stderr, "frame %llu differs from the straight run's\n", static_cast<unsigned long long>(frame));
        std::abort();
    }
    return 0;
}
