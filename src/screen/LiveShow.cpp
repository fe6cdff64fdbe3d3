#include "screen/LiveShow.h"

#include <cstdint>

#include "audio/AudioStream.h"
#include "music/Music.h"
#include "music/SyncTag.h"
#include "platform/GlutWindow.h"
#include "platform/Ticks.h"
#include "screen/FrameLog.h"
#include "show/Show.h"
#include "show/View.h"

namespace {

struct LiveShow {
    Show& show;
    FrameLog* log;  // only with --timings
    // Music with no sound device to pace it (muted, or its device went away
    // in mid-show) moves on here: each frame plays, silently, the time that
    // has passed since the one before, so the cues it passes are pending
    // when this frame's scene reads them, as they would be live. With a
    // device playing, this only checks that it is still there.
    std::uint32_t musicMovedAt = 0;
};

// Where the music stands, the clock every cue comes on: a log that measures
// the show against it holds on a loaded machine, where a sound driver keeps
// a pace of its own.
std::uint64_t musicMs(Show& show) {
    audio::AudioStream* music = show.music().getStream();
    const int rate = audio::streamSampleRate(music);
    return rate > 0 ? audio::streamFramesPlayed(music) * 1000 / static_cast<std::uint64_t>(rate) : 0;
}

void frame(void* user) {
    LiveShow& live = *static_cast<LiveShow*>(user);
    const std::uint32_t now = platform::tickCount();
    audio::advanceOfflineStreams(now - live.musicMovedAt);
    live.musicMovedAt = now;
    const std::int32_t section = live.show.section();
    live.show.drawFrame();
    platform::presentFrame();
    if (live.log != nullptr) live.log->frameShown(section, musicMs(live.show), showSyncTag().lastPosted());
}

void reshapeWhole(void*, int width, int height) { reshape(width, height); }
void reshapeFourByThree(void*, int width, int height) { reshapeKeepingAspect(width, height); }

}  // namespace

int runShow(int argc, char** argv, Show& show, const LiveOptions& options, FrameLog* log) {
    platform::openWindow(argc, argv, {options.width, options.height, !options.window, !options.vsync});
    show.start();
    LiveShow live{show, log};                   // lives as long as the loop, which never returns
    live.musicMovedAt = platform::tickCount();  // start() has just started the music
    platform::runWindow({&live, frame, options.keepAspect ? reshapeFourByThree : reshapeWhole});
    return 0;
}
