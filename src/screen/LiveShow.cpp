#include "screen/LiveShow.h"

#include <cstdint>

#include "audio/AudioStream.h"
#include "music/Music.h"
#include "music/SyncTag.h"
#include "platform/GlutWindow.h"
#include "platform/Ticks.h"
#include "screen/FrameLog.h"

namespace {

void ignoreKey(unsigned char, int, int) {}

// Music with no sound device to pace it (muted, or its device went away in
// mid-show) moves on here: each frame plays, silently, the time that has
// passed since the one before, so the cues it passes are pending when this
// frame's scene reads them, as they would be live. With a device playing,
// this only checks that it is still there.
std::uint32_t musicMovedAt = 0;

FrameLog* frameLog = nullptr;  // only with --timings
audio::AudioStream* music = nullptr;

// Where the music stands, the clock every cue comes on: a log that measures
// the show against it holds on a loaded machine, where a sound driver keeps
// a pace of its own.
std::uint64_t musicMs() {
    const int rate = audio::streamSampleRate(music);
    return rate > 0 ? audio::streamFramesPlayed(music) * 1000 / static_cast<std::uint64_t>(rate) : 0;
}

void displayOnOwnClock() {
    const std::uint32_t now = platform::tickCount();
    audio::advanceOfflineStreams(now - musicMovedAt);
    musicMovedAt = now;
    const std::int32_t section = sceneState;
    display();
    if (frameLog) frameLog->frameShown(section, musicMs(), showSyncTag().lastPosted());
}

}  // namespace

int runShow(int argc, char** argv, const ShowLoop& loop, const LiveOptions& live, FrameLog* log) {
    setShowLoop(loop);
    frameLog = log;
    platform::openWindow(argc, argv, {live.width, live.height, !live.window, !live.vsync});
    init();
    musicMovedAt = platform::tickCount();  // init() has just started the music
    music = loop.music.getStream();
    platform::runWindow({displayOnOwnClock, live.keepAspect ? reshapeKeepingAspect : reshape, ignoreKey});
    return 0;
}

void display() {
    drawFrame();
    platform::presentFrame();
}
