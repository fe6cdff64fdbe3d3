// The whole show over the short pack, moved about by the player's commands on
// the offline clock: wherever a sequence of seeks, loops, steps and pauses
// leaves it, the next frame is the frame a straight run draws at that show
// time, pixel for pixel, with the music on the same sample.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "OffscreenShow.h"
#include "show/ShowTimeline.h"
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
    ShowTimeline& timeline = s.timeline();
    ASSERT_GT(s.straight().size(), 1000u);
    const std::vector<Chapter>& chapters = timeline.chapters();
    ASSERT_EQ(chapters.size(), 19u);
    const std::uint64_t shipStart = chapters[8].frame;  // graphical2: the chess section ends
    const std::uint64_t last = s.straight().size() - 1;

    using C = PlayerCommand;
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"back to the start", {seekTo(0)}},
        {"forward, by saved states", {seekTo(0), seekTo(700)}},
        {"back, between saved states", {seekTo(900), seekTo(301)}},
        {"across the chess section's end", {seekTo(shipStart - 3), run(5), seekTo(shipStart + 40)}},
        {"back across the section change", {seekTo(shipStart + 40), seekTo(shipStart - 1)}},
        {"the last frame before the end", {seekTo(last)}},
        {"next cue", {seekTo(10), press(C::NextCue)}},
        {"next cue twice", {seekTo(10), press(C::NextCue), run(3), press(C::NextCue)}},
        {"previous cue, late in a span", {seekTo(chapters[5].frame + 200), press(C::PreviousCue)}},
        {"previous cue, just after one starts", {seekTo(chapters[5].frame), run(2), press(C::PreviousCue)}},
        {"ten seconds on and back", {seekTo(5), press(C::Forward), run(4), press(C::Back)}},
        {"home", {seekTo(1200), press(C::Home)}},
        {"a loop wraps round", {seekTo(chapters[3].frame + 5), press(C::ToggleLoop), run(400)}},
        {"a loop let go runs on", {seekTo(chapters[3].frame), press(C::ToggleLoop), press(C::ToggleLoop), run(300)}},
        {"paused, steps", {seekTo(600), press(C::TogglePause), press(C::Step), press(C::Step), press(C::TogglePause)}},
        {"paused, a seek shows its frame",
         {seekTo(50), press(C::TogglePause), press(C::NextCue), press(C::TogglePause)}},
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
        ASSERT_LT(frame, s.straight().size());
        const ShowMoment moment = s.drawNext();
        EXPECT_EQ(moment.sample, s.straight()[frame].sample) << "frame " << frame;
        EXPECT_EQ(moment.pixels, s.straight()[frame].pixels) << "frame " << frame;
    }
}
