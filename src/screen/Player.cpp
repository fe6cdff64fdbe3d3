#include "screen/Player.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioStream.h"
#include "platform/DataFiles.h"
#include "platform/DataPath.h"
#include "platform/GlutWindow.h"
#include "platform/ShowEnd.h"
#include "screen/FrameLog.h"
#include "screen/FrameSaver.h"
#include "screen/PlayerOverlay.h"
#include "show/Show.h"
#include "show/ShowSpan.h"
#include "show/Transport.h"
#include "show/View.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTrack = platform::files::kMusic.name;
constexpr const char* kSectionNames[] = {"", "chess", "ship", "alien", "credits"};

struct Playing {
    Playing(Show& show, audio::AudioStream* monitor, FrameLog* log, bool keys, std::optional<std::uint64_t> endFrame)
        : show(show), player(show), monitor(monitor), log(log), keys(keys), endFrame(endFrame) {}

    Show& show;
    Transport player;
    audio::AudioStream* monitor;  // the sound the user hears; null when muted
    FrameLog* log;
    bool keys;
    std::optional<std::uint64_t> endFrame;  // --to
    bool started = false;
    bool overlay = false;
    bool saveNextFrame = false;  // 's': the next frame shown goes to a PNG too
    int windowWidth = 0;
    int windowHeight = 0;
    // Where the pacing counts from: the frame shown when the music was put
    // at its sample, and how far the music or the wall clock had got then.
    std::uint64_t originFrame = 0;
    std::uint64_t originPlayed = 0;
    Clock::time_point originTime;
    // Frames shown in the last second, for the overlay.
    std::vector<Clock::time_point> shownAt;
};

// Puts the music on the sample of the frame about to be drawn and counts
// the pace from there.
void followWithMusic(Playing& p) {
    p.originFrame = p.show.frame();
    p.originTime = Clock::now();
    if (p.monitor == nullptr) return;
    const audio::StreamPosition now = audio::streamPosition(p.monitor);
    const std::uint32_t length = audio::streamLength(p.monitor);
    const std::uint64_t sample = p.show.musicSample();
    audio::setStreamPosition(p.monitor, {static_cast<std::uint32_t>(length > 0 ? sample % length : 0), false,
                                         now.framesPlayed, now.offlineMs});
    p.originPlayed = now.framesPlayed;
}

// The frame the music has reached.
std::uint64_t dueFrame(const Playing& p) {
    std::uint64_t ms = 0;
    if (p.monitor != nullptr) {
        const std::uint64_t played = audio::streamFramesPlayed(p.monitor) - p.originPlayed;
        ms = played * 1000 / static_cast<std::uint64_t>(audio::streamSampleRate(p.monitor));
    } else {
        ms = static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - p.originTime).count());
    }
    return p.originFrame + ms / p.show.periodMs();
}

std::vector<std::string> overlayLines(const Playing& p) {
    const Show& t = p.show;
    const std::uint64_t shown = t.frame() > 0 ? t.frame() - 1 : 0;
    const Chapter* at = t.chapterAt(shown);
    const Chapter* next = t.chapterAfter(shown);
    const Clock::time_point now = Clock::now();
    std::size_t lastSecond = 0;
    for (const Clock::time_point when : p.shownAt) lastSecond += now - when < std::chrono::seconds(1) ? 1 : 0;
    const std::int32_t section = t.section() >= 1 && t.section() <= 4 ? t.section() : 0;
    std::string state = p.player.paused() ? "paused" : "playing";
    if (p.player.looping()) {
        state += ", looping " + formatShowTime(p.player.loopStartFrame() * t.periodMs()) + " to " +
                 formatShowTime(p.player.loopEndFrame() * t.periodMs());
    }
    return {
        "time    " + formatShowTime(shown * t.periodMs()) + " / " + formatShowTime(t.closingFrame() * t.periodMs()),
        "cue     " + std::string(at != nullptr ? at->name : "-"),
        "next    " + (next != nullptr ? next->name + " at " + formatShowTime(next->ms) : "-"),
        "section " + std::string(kSectionNames[section]),
        "fps     " + std::to_string(lastSecond),
        state,
    };
}

// Made on the first 's', so a show that saves nothing starts no thread;
// taken down at the exit before the show, with every frame queued written.
FrameSaver& frameSaver() {
    static FrameSaver saver;
    return saver;
}

// The frame just drawn, as it is about to be shown, to a PNG.
void saveFrame(Playing& p) {
    p.saveNextFrame = false;
    const std::uint64_t shown = p.show.frame() - 1;
    const Chapter* at = p.show.chapterAt(shown);
    frameSaver().saveWindow(p.windowWidth, p.windowHeight,
                            savedFrameName(at != nullptr ? at->name : "", shown * p.show.periodMs()));
}

// Shows the frame just drawn, with the overlay if it is on.
void present(Playing& p, std::int32_t section) {
    if (p.overlay) drawPlayerOverlay(overlayLines(p));
    if (p.saveNextFrame) saveFrame(p);
    platform::presentFrame();
    const Clock::time_point now = Clock::now();
    p.shownAt.push_back(now);
    while (!p.shownAt.empty() && now - p.shownAt.front() > std::chrono::seconds(1)) p.shownAt.erase(p.shownAt.begin());
    if (p.log != nullptr) {
        const std::uint64_t shown = p.show.frame() - 1;
        const Chapter* at = p.show.chapterAt(shown);
        p.log->frameShown(section, shown * p.show.periodMs(), at != nullptr ? at->name : "-");
    }
}

// Runs the next frame, drawn or not; the --to point ends the show first.
void runFrame(Playing& p, bool drawn) {
    if (p.endFrame && p.show.frame() >= *p.endFrame) platform::endShow();
    const std::int32_t section = p.show.section();
    if (p.player.runFrame(drawn)) followWithMusic(p);
    if (drawn) present(p, section);
}

void frame(void* user) {
    Playing& p = *static_cast<Playing*>(user);
    if (!p.started) {
        p.started = true;
        followWithMusic(p);
        if (p.monitor != nullptr) audio::playStream(p.monitor);
    }
    if (p.player.paused()) {
        // Asked to draw again while still: the frame shown, once more.
        const std::uint64_t shown = p.show.frame() > 0 ? p.show.frame() - 1 : 0;
        const std::int32_t section = p.show.section();
        p.show.seek(shown);
        p.show.runFrame(true);
        present(p, section);
        return;
    }
    const std::uint64_t due = dueFrame(p);
    if (due < p.show.frame()) {
        // Ahead of the music: wait for it rather than spin.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return;
    }
    while (p.show.frame() < dueFrame(p)) runFrame(p, false);
    runFrame(p, true);
}

void setPaused(Playing& p, bool paused) {
    if (paused != p.player.paused()) p.player.command(PlayerCommand::TogglePause);
    if (!paused) followWithMusic(p);
    if (p.monitor != nullptr) audio::setStreamPaused(p.monitor, paused);
    // Paused, the process waits for keys and draws only when asked.
    platform::setRunningFreely(!paused);
    if (p.overlay) platform::requestRedraw();
}

// After a command that drew while paused, or moved the show while playing.
void afterMove(Playing& p, bool moved) {
    if (!moved) return;
    if (p.player.paused()) {
        present(p, p.show.section());
    } else {
        followWithMusic(p);
    }
}

void key(void* user, unsigned char key) {
    Playing& p = *static_cast<Playing*>(user);
    if (!p.keys) return;
    switch (key) {
    case 27:
    case 'q':
        platform::endShow();
    case 'p':
        setPaused(p, !p.player.paused());
        break;
    case '.':
        if (p.player.paused()) afterMove(p, p.player.command(PlayerCommand::Step));
        break;
    case 'l':
        p.player.command(PlayerCommand::ToggleLoop);
        break;
    case 'h':
        p.overlay = !p.overlay;
        if (p.player.paused()) platform::requestRedraw();
        break;
    case 'f':
        platform::toggleFullScreen();
        break;
    case 's':
        // The frame on screen: paused, it is drawn once more to be read back.
        p.saveNextFrame = true;
        if (p.player.paused()) platform::requestRedraw();
        break;
    default:
        break;
    }
}

void special(void* user, platform::SpecialKey key) {
    Playing& p = *static_cast<Playing*>(user);
    if (!p.keys) return;
    switch (key) {
    case platform::SpecialKey::Right:
        return afterMove(p, p.player.command(PlayerCommand::NextCue));
    case platform::SpecialKey::Left:
        return afterMove(p, p.player.command(PlayerCommand::PreviousCue));
    case platform::SpecialKey::PageDown:
        return afterMove(p, p.player.command(PlayerCommand::Forward));
    case platform::SpecialKey::PageUp:
        return afterMove(p, p.player.command(PlayerCommand::Back));
    case platform::SpecialKey::Home:
        return afterMove(p, p.player.command(PlayerCommand::Home));
    case platform::SpecialKey::Other:
        return;
    }
}

void noteWindowSize(void* user, int width, int height) {
    Playing& p = *static_cast<Playing*>(user);
    p.windowWidth = width;
    p.windowHeight = height;
}

void reshapeWhole(void* user, int width, int height) {
    noteWindowSize(user, width, height);
    reshape(width, height);
}
void reshapeFourByThree(void* user, int width, int height) {
    noteWindowSize(user, width, height);
    reshapeKeepingAspect(width, height);
}

}  // namespace

int runPlayer(int argc, char** argv, Show& show, const LiveOptions& live, const ShowSpan& span, FrameLog* log) {
    platform::openWindow(argc, argv, {live.width, live.height, !live.window, !live.vsync});
    show.start();
    audio::AudioStream* monitor = nullptr;
    if (!live.mute) {
        monitor = audio::openStreamOn(audio::SoundOutput::Device, platform::resolveDataPath(kTrack), true);
        audio::setStreamVolume(monitor, 255);
    }
    // Lives as long as the loop, which never returns.
    Playing playing(show, monitor, log, live.player, span.stop);
    if (span.start > 0) show.seek(span.start);
    platform::runWindow({&playing, frame, live.keepAspect ? reshapeFourByThree : reshapeWhole, key, special});
    return 0;
}
