// The show in a browser: built over the data the page preloads, on the show
// clock, which follows the Web Audio clock as the player follows the sound
// device: a frame shown is the frame a capture shows at that show time, and a
// browser that falls behind runs frames undrawn until it catches up. The
// player's keys work. The address takes ?from= and ?to= (a cue or a time),
// and ?frame=N, which draws exactly frame N without a click or sound, keeps
// it on the canvas and then titles the page "frame N".
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "audio/AudioStream.h"
#include "audio/WavFile.h"
#include "music/Music.h"
#include "platform/BrowserCanvas.h"
#include "platform/KeyState.h"
#include "platform/ShowEnd.h"
#include "show/OfflineClock.h"
#include "show/Show.h"
#include "show/ShowSpan.h"
#include "show/Transport.h"
#include "show/View.h"
#include "web/Page.h"

namespace {

constexpr const char* kCanvas = "#canvas";
constexpr const char* kDataFolder = "/data";
constexpr const char* kSectionNames[] = {"", "chess", "ship", "alien", "credits"};

struct WebShow {
    explicit WebShow(Show& show) : show(show), transport(show) {}

    Show& show;
    Transport transport;
    ShowSpan span;
    bool spaceDown = false;
    bool overlay = false;
    bool begun = false;
    // The frame about to be drawn when the sound was last put on its sample:
    // the pace counts from there.
    std::uint64_t originFrame = 0;
    platform::CanvasSize size{0, 0};
    const Chapter* lastChapter = nullptr;
};

// The view: the largest centred 4:3 area of the drawing buffer, as the
// desktop draws it, done again whenever the canvas changes size.
void fitView(WebShow& web) {
    const platform::CanvasSize size = platform::fitCanvasToPage(kCanvas);
    if (size.width == web.size.width && size.height == web.size.height) return;
    web.size = size;
    reshapeKeepingAspect(size.width, size.height);
}

void followWithSound(WebShow& web) {
    web.originFrame = web.show.frame();
    web::playSoundFrom(static_cast<double>(web.show.showMs()));
}

std::string overlayText(const WebShow& web) {
    const Show& show = web.show;
    const std::uint64_t shown = show.frame() > 0 ? show.frame() - 1 : 0;
    const Chapter* at = show.chapterAt(shown);
    const Chapter* next = show.chapterAfter(shown);
    const std::int32_t section = show.section() >= 1 && show.section() <= 4 ? show.section() : 0;
    return "time    " + formatShowTime(shown * show.periodMs()) + " / " +
           formatShowTime(show.closingFrame() * show.periodMs()) + "\ncue     " + (at != nullptr ? at->name : "-") +
           "\nnext    " + (next != nullptr ? next->name + " at " + formatShowTime(next->ms) : "-") + "\nsection " +
           kSectionNames[section] + "\n" + (web.transport.paused() ? "paused" : "playing") +
           (web.transport.looping() ? ", looping" : "");
}

// Runs the next frame, drawn or not. `heardMs`: where the sound was when the
// frame was found due.
void runFrame(WebShow& web, bool drawn, double heardMs) {
    if (web.span.stop && web.show.frame() >= *web.span.stop) platform::endShow();
    if (web.transport.runFrame(drawn)) followWithSound(web);
    if (!drawn) return;
    // The page keeps the frame shown, and each chapter's first, with where
    // the sound was, so that what was heard can be held against what was drawn.
    const std::uint64_t shown = web.show.frame() - 1;
    web::noteFrameShown(shown);
    const Chapter* at = web.show.chapterAt(shown);
    if (at != nullptr && at != web.lastChapter) web::noteChapterShown(at->name, shown, heardMs);
    web.lastChapter = at;
}

void animationFrame(void* user) {
    WebShow& web = *static_cast<WebShow*>(user);
    fitView(web);
    if (web.transport.paused()) return;
    const double heardMs = static_cast<double>(web.originFrame * web.show.periodMs()) + web::soundPlayedMs();
    const std::uint64_t due = static_cast<std::uint64_t>(heardMs) / web.show.periodMs();
    if (due < web.show.frame()) return;  // ahead of the sound: the last frame stays up
    while (web.show.frame() < due) runFrame(web, false, heardMs);
    runFrame(web, true, heardMs);
    if (web.overlay) web::setOverlay(overlayText(web));
}

// After a command: paused, the show has drawn where it landed; playing, the
// sound goes there too.
void afterMove(WebShow& web, bool moved) {
    if (moved && !web.transport.paused()) followWithSound(web);
    if (moved && web.transport.paused()) web::noteFrameShown(web.show.frame() - 1);
    if (web.overlay) web::setOverlay(overlayText(web));
}

EM_BOOL keyDown(int, const EmscriptenKeyboardEvent* event, void* user) {
    WebShow& web = *static_cast<WebShow*>(user);
    const std::string key = event->key;
    if (key == " ") {
        web.spaceDown = true;
        return EM_TRUE;
    }
    if (!web.begun) return EM_FALSE;
    if (key == "p") {
        web.transport.command(PlayerCommand::TogglePause);
        web::pauseSound(web.transport.paused());
        if (!web.transport.paused()) followWithSound(web);
        afterMove(web, false);
    } else if (key == "ArrowRight") {
        afterMove(web, web.transport.command(PlayerCommand::NextCue));
    } else if (key == "ArrowLeft") {
        afterMove(web, web.transport.command(PlayerCommand::PreviousCue));
    } else if (key == "PageDown") {
        afterMove(web, web.transport.command(PlayerCommand::Forward));
    } else if (key == "PageUp") {
        afterMove(web, web.transport.command(PlayerCommand::Back));
    } else if (key == "Home") {
        afterMove(web, web.transport.command(PlayerCommand::Home));
    } else if (key == "l") {
        afterMove(web, web.transport.command(PlayerCommand::ToggleLoop));
    } else if (key == ".") {
        if (web.transport.paused()) afterMove(web, web.transport.command(PlayerCommand::Step));
    } else if (key == "h") {
        web.overlay = !web.overlay;
        web::setOverlay(web.overlay ? overlayText(web) : "");
    } else if (key == "f") {
        web::toggleFullScreen();
    } else {
        return EM_FALSE;  // the browser's own, Esc among them (it leaves full screen)
    }
    return EM_TRUE;
}

EM_BOOL keyUp(int, const EmscriptenKeyboardEvent* event, void* user) {
    WebShow& web = *static_cast<WebShow*>(user);
    if (std::string(event->key) != " ") return EM_FALSE;
    web.spaceDown = false;
    return EM_TRUE;
}

std::optional<std::uint64_t> wholeNumber(const std::string& text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// ?frame=N: that frame alone, kept on the canvas, then the title says so.
void drawOneFrame(WebShow& web, const std::string& asked) {
    const std::optional<std::uint64_t> frame = wholeNumber(asked);
    if (!frame || *frame >= web.show.closingFrame()) {
        web::showMessage("frame: \"" + asked + "\" is not a frame of the show (0 to " +
                         std::to_string(web.show.closingFrame() - 1) + ")");
        web::setTitle("Marrowick: no such frame");
        return;
    }
    fitView(web);
    web.show.seek(*frame);
    web.show.runFrame(true);
    web::setTitle("frame " + asked);
}

}  // namespace

// Called by the page once the user has clicked and the sound is ready, with
// the front end main() handed it.
extern "C" EMSCRIPTEN_KEEPALIVE void marrowick_begin(void* page) {
    WebShow& web = *static_cast<WebShow*>(page);
    if (web.begun) return;
    web.begun = true;
    followWithSound(web);
    platform::runAnimationFrames(animationFrame, &web);
}

int main() {
    const std::string frame = web::addressValue("frame");
    if (!platform::openCanvas(kCanvas, !frame.empty())) {
        web::showMessage("This browser offers no WebGL 2: the show cannot be drawn here.");
        return 1;
    }
    // The clock first: every seed the objects take comes from it. Both live
    // to the end of the page.
    static OfflineClock clock;
    static Show show(kDataFolder, &clock);
    static WebShow web(show);
    EM_ASM({ Module.marrowickShow = $0; }, &web);
    platform::setSpaceKeySource([] { return web.spaceDown; });
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, &web, EM_TRUE, keyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, &web, EM_TRUE, keyUp);
    platform::setShowEnding([] {
        platform::stopAnimationFrames();
        web::pauseSound(true);
        web::setTitle("Marrowick: the end");
    });
    show.start();
    fitView(web);

    if (!frame.empty()) {
        drawOneFrame(web, frame);
        return 0;
    }
    const WavSound* track = audio::streamSound(show.music().getStream());
    const TrackCues cues{track->sampleRate, track->frames(), track->cues};
    const SpanOrError span = resolveSpan(web::addressValue("from"), web::addressValue("to"), cues, show.periodMs());
    if (!span.error.empty()) {
        web::showMessage(span.error);
        web::setTitle("Marrowick: " + span.error);
        return 1;
    }
    web.span = span.span;
    if (web.span.start > 0) show.seek(web.span.start);
    web::setTitle("Marrowick");
    return 0;
}
