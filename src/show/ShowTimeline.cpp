#include "show/ShowTimeline.h"

#include <GL/gl.h>

#include <algorithm>

#include "audio/AudioStream.h"
#include "audio/WavFile.h"
#include "music/Cues.h"
#include "music/Music.h"
#include "render/GeometryLeftOut.h"
#include "show/FrameLimiter.h"
#include "show/OfflineClock.h"

namespace {

// Saved once a second of show time, a seek runs at most this many frames.
constexpr std::uint64_t kFramesBetweenSaves = 84;
constexpr std::uint64_t kFullFramesBeforeTarget = 2;

}  // namespace

std::vector<Chapter> chaptersOf(const std::vector<WavCue>& cues, int sampleRate, std::uint32_t periodMs) {
    const FrameTiming timing{periodMs, 1, static_cast<std::uint64_t>(sampleRate)};
    std::vector<Chapter> chapters;
    for (const WavCue& cue : cues) {
        if (cue.labelled) chapters.push_back({cue.label, timing.frameContaining(cue.frame) + 1});
    }
    std::stable_sort(chapters.begin(), chapters.end(),
                     [](const Chapter& a, const Chapter& b) { return a.frame < b.frame; });
    return chapters;
}

ShowTimeline::ShowTimeline(const ShowLoop& loop, OfflineClock& clock)
    : loop(loop),
      clock(clock),
      period(static_cast<std::uint32_t>(loop.clocks.limiter.getPeriodMs())),
      timing{period, 1, static_cast<std::uint64_t>(audio::streamSampleRate(loop.music.getStream()))},
      cues(chaptersOf(audio::streamSound(loop.music.getStream())->cues, audio::streamSampleRate(loop.music.getStream()),
                      period)),
      current(clock.framesDone()) {
    closing = UINT64_MAX;
    for (const Chapter& chapter : cues) {
        if (chapter.name == cue::kFadeToCredits) closing = std::min(closing, chapter.frame);
    }
}

const Chapter* ShowTimeline::chapterAt(std::uint64_t frame) const {
    const Chapter* found = nullptr;
    for (const Chapter& chapter : cues) {
        if (chapter.frame <= frame) found = &chapter;
    }
    return found;
}

const Chapter* ShowTimeline::chapterAfter(std::uint64_t frame) const {
    for (const Chapter& chapter : cues) {
        if (chapter.frame > frame) return &chapter;
    }
    return nullptr;
}

void ShowTimeline::runFrame(bool drawn) {
    const Chapter* chapter = chapterAt(current);
    const bool chapterStarts = chapter != nullptr && chapter->frame == current;
    if ((chapterStarts || current % kFramesBetweenSaves == 0) && saved.count(current) == 0) save();
    // An empty scissor box lets the renderer drop every fragment.
    if (!drawn) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 0, 0);
    }
    drawFrame();
    if (!drawn) glDisable(GL_SCISSOR_TEST);
    clock.advance(period);
    ++current;
}

void ShowTimeline::seek(std::uint64_t target) {
    if (target == current) return;
    auto from = saved.upper_bound(target);
    if (from != saved.begin()) {
        --from;
        // Restore only what is nearer than going on from here.
        if (target < current || from->first > current) restore(from->first);
    }
    // The frames on the way are run for their state alone; the last few send
    // their geometry too, so what they leave in OpenGL is what a straight
    // run leaves there.
    setGeometryLeftOut(true);
    while (current + kFullFramesBeforeTarget < target) runFrame(false);
    setGeometryLeftOut(false);
    while (current < target) runFrame(false);
}

void ShowTimeline::save() { saved.emplace(current, saveShowState(loop.parts)); }

void ShowTimeline::restore(std::uint64_t frame) {
    restoreShowState(loop.parts, saved.at(frame));
    clock.setFrame(frame, period);
    current = frame;
}

std::size_t ShowTimeline::savedBytes() const {
    std::size_t total = 0;
    for (const auto& [frame, state] : saved) total += state.bytes();
    return total;
}
