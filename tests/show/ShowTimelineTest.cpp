// The whole show over the short pack, moved about by the player's commands on
// the offline clock: wherever a sequence of seeks, loops, steps and pauses
// leaves it, the next frame is the frame a straight run draws at that show
// time, pixel for pixel, with the music on the same sample.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "OffscreenShow.h"
#include "effects/ParticleSystem.h"
#include "effects/SkyBox.h"
#include "model/Light.h"
#include "platform/LiveInstances.h"
#include "render/Picture.h"
#include "scenes/Alien.h"
#include "scenes/Chess.h"
#include "scenes/Credits.h"
#include "scenes/Ship.h"
#include "show/Show.h"
#include "show/StateRegistry.h"
#include "show/Timer.h"
#include "show/Transport.h"

namespace {

using testsupport::ShowMoment;

testsupport::OffscreenShow& show() {
    // Never destroyed: the show's objects outlive the tests.
    static auto* theShow = new testsupport::OffscreenShow(MARROWICK_PACK_DIR, 160, 120, UINT64_MAX);
    return *theShow;
}

struct Step {
    enum { Seek, Command, Run } kind;
    std::uint64_t frame = 0;  // Seek: the frame; Run: how many frames, drawn
    PlayerCommand command = PlayerCommand::Step;
};
Step seekTo(std::uint64_t frame) { return {Step::Seek, frame}; }
Step press(PlayerCommand command) { return {Step::Command, 0, command}; }
Step run(std::uint64_t frames) { return {Step::Run, frames}; }

}  // namespace

TEST(ShowTimeline, EveryWayToAFrameDrawsTheSameFrame) {
    testsupport::OffscreenShow& s = show();
    Show& timeline = s.show();
    ASSERT_GT(s.straight().size(), 1000u);
    const std::vector<Chapter>& chapters = timeline.chapters();
    ASSERT_EQ(chapters.size(), 19u);
    const std::uint64_t shipStart = chapters[8].frame;  // graphical2: the chess section ends
    const std::uint64_t last = s.straight().size() - 1;

    // Where the cue list says a command lands, from the frame last shown:
    // the chapter at or after it, independently of the timeline's lookups.
    const auto cueAfter = [&](std::uint64_t shown) {
        for (const Chapter& chapter : chapters) {
            if (chapter.frame > shown) return chapter.frame;
        }
        return last;
    };
    const auto cueAt = [&](std::uint64_t shown) {
        std::uint64_t at = 0;
        for (const Chapter& chapter : chapters) {
            if (chapter.frame <= shown) at = chapter.frame;
        }
        return at;
    };
    const std::uint64_t tenSeconds = 10000 / timeline.periodMs();
    const std::uint64_t loopStart = chapters[3].frame;
    const std::uint64_t loopLength = cueAfter(loopStart) - loopStart;
    // "Previous" from the frame shown: the chapter's own start once a second
    // into it, else the start of the one before.
    const auto previousFrom = [&](std::uint64_t shown) {
        const std::uint64_t at = cueAt(shown);
        return (shown - at) * timeline.periodMs() >= 1000 || at == 0 ? at : cueAt(at - 1);
    };
    const std::uint64_t c5 = chapters[5].frame;
    ASSERT_GT(loopLength, 10u);

    using C = PlayerCommand;
    const struct {
        const char* what;
        std::vector<Step> steps;
        std::uint64_t lands;  // the frame about to be drawn afterwards
    } cases[] = {
        {"back to the start", {seekTo(0)}, 0},
        {"forward, by saved states", {seekTo(0), seekTo(700)}, 700},
        {"back, between saved states", {seekTo(900), seekTo(301)}, 301},
        {"across the chess section's end", {seekTo(shipStart - 3), run(5), seekTo(shipStart + 40)}, shipStart + 40},
        {"back across the section change", {seekTo(shipStart + 40), seekTo(shipStart - 1)}, shipStart - 1},
        {"the last frame before the end", {seekTo(last)}, last},
        {"next cue", {seekTo(10), press(C::NextCue)}, cueAfter(9)},
        {"next cue twice", {seekTo(10), press(C::NextCue), run(3), press(C::NextCue)}, cueAfter(cueAfter(9) + 2)},
        {"previous cue, late in a span", {seekTo(c5 + 200), press(C::PreviousCue)}, previousFrom(c5 + 199)},
        {"previous cue, just after one starts", {seekTo(c5), run(2), press(C::PreviousCue)}, cueAt(c5 - 1)},
        // Shown 4, then 4 + 10 s; four frames on, shown 3 later; back 10 s.
        {"ten seconds on and back", {seekTo(5), press(C::Forward), run(4), press(C::Back)}, 7},
        {"ten seconds on from the start", {seekTo(1), press(C::Forward)}, tenSeconds},
        {"ten seconds back at the start", {seekTo(100), press(C::Back)}, 0},
        {"ten seconds back at the end", {seekTo(last), press(C::Back)}, last - 1 - tenSeconds},
        {"home", {seekTo(1200), press(C::Home)}, 0},
        {"home from the credits, on to the ship", {seekTo(last), press(C::Home), run(shipStart + 40)}, shipStart + 40},
        // The loop runs from its cue's first frame to the frame before the
        // next cue's, then its first again.
        {"a loop to its last frame",
         {seekTo(loopStart + 5), press(C::ToggleLoop), run(loopLength - 5)},
         loopStart + loopLength},
        {"a loop wraps round", {seekTo(loopStart + 5), press(C::ToggleLoop), run(loopLength - 4)}, loopStart + 1},
        {"a loop wraps round again and again",
         {seekTo(loopStart + 5), press(C::ToggleLoop), run(400)},
         loopStart + (4 + 400) % loopLength + 1},
        {"a loop let go runs on",
         {seekTo(loopStart), press(C::ToggleLoop), press(C::ToggleLoop), run(300)},
         loopStart + 300},
        {"paused, steps",
         {seekTo(600), press(C::TogglePause), press(C::Step), press(C::Step), press(C::TogglePause)},
         602},
        {"paused, a seek shows its frame",
         {seekTo(50), press(C::TogglePause), press(C::NextCue), press(C::TogglePause)},
         cueAfter(49) + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Transport player(timeline);
        for (const Step& step : c.steps) {
            if (step.kind == Step::Seek) timeline.seek(step.frame);
            if (step.kind == Step::Command) player.command(step.command);
            for (std::uint64_t i = 0; step.kind == Step::Run && i < step.frame; ++i) player.runFrame(true);
        }
        const std::uint64_t frame = timeline.frame();
        EXPECT_EQ(frame, c.lands);
        ASSERT_LT(frame, s.straight().size());
        const ShowMoment moment = s.drawNext();
        EXPECT_EQ(moment.sample, s.straight()[frame].sample) << "frame " << frame;
        EXPECT_EQ(moment.pixels, s.straight()[frame].pixels) << "frame " << frame;
    }
}

TEST(StateRegistry, EveryHolderOfTheShowIsInTheOneList) {
    const StateRegistry& registry = show().show().stateRegistry();
    using platform::LiveInstances;
    const struct {
        const char* kind;
        int registered;
        int existing;
    } kinds[] = {
        {"pictures", registry.count<Picture>(), LiveInstances<Picture>::live()},
        {"particle systems", registry.count<ParticleSystem>(), LiveInstances<ParticleSystem>::live()},
        {"sky boxes", registry.count<SkyBox>(), LiveInstances<SkyBox>::live()},
        {"timers", registry.count<Timer>(), LiveInstances<Timer>::live()},
        {"lights", registry.count<Light>(), LiveInstances<Light>::live()},
        {"chess scenes", registry.count<ChessScene>(), LiveInstances<ChessScene>::live()},
        {"ship scenes", registry.count<ShipScene>(), LiveInstances<ShipScene>::live()},
        {"alien scenes", registry.count<AlienScene>(), LiveInstances<AlienScene>::live()},
        {"credits scenes", registry.count<CreditsScene>(), LiveInstances<CreditsScene>::live()},
    };
    for (const auto& kind : kinds) {
        EXPECT_GT(kind.existing, 0) << kind.kind;
        EXPECT_EQ(kind.registered, kind.existing) << kind.kind << " built outside the show state";
    }
    // Putting a light back sends it to OpenGL: the OpenGL state must come after.
    const std::vector<std::string> parts = registry.names();
    ASSERT_FALSE(parts.empty());
    EXPECT_EQ(parts.back(), "OpenGL state");
    for (const char* part : {"sequence", "sky scroll", "limiter release", "random generator", "music"}) {
        EXPECT_NE(std::find(parts.begin(), parts.end(), part), parts.end()) << part;
    }
}
