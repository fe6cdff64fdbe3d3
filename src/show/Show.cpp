#include "show/Show.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

#include "audio/AudioStream.h"
#include "effects/MetaballField.h"
#include "music/Cues.h"
#include "music/SyncTag.h"
#include "platform/Cores.h"
#include "platform/DataPath.h"
#include "platform/FatalExit.h"
#include "platform/ShowRandom.h"
#include "platform/Ticks.h"
#include "render/GeometryLeftOut.h"
#include "render/GlState.h"
#include "render/PictureReadAhead.h"
#include "render/RenderState.h"
#include "show/OfflineClock.h"
#include "show/ShowLights.h"
#include "show/ShowObjects.h"

namespace {

// Saved once a second of show time, a seek runs at most this many frames.
constexpr std::uint64_t kFramesBetweenSaves = 84;
constexpr std::uint64_t kFullFramesBeforeTarget = 2;

// The pictures decode on the other cores from here on, while the objects are
// built and the window opens; the loads in the init functions then mostly
// upload them. One core is left to this thread, whose work is what the
// first frame waits for.
PictureReadAhead* startReadingAhead() {
    const unsigned threads = platform::spareCores();
    if (threads == 0) return nullptr;  // each load decodes its own picture
    auto* readAhead = new PictureReadAhead(startUpPictures(), threads);
    setPictureReadAhead(readAhead);
    return readAhead;
}

}  // namespace

Show::Show(const std::string& dataFolder, OfflineClock* clock) : clock(clock) {
    platform::setDataFolder(dataFolder);
    readAhead = startReadingAhead();
    try {
        const platform::FatalExitUnwinds unwinds;
        objects = std::make_unique<ShowObjects>(registry, lastRelease, skyScroll);
    } catch (const platform::FatalExitWhileBuilding&) {
        // Its message is out; the objects built before it are gone, each with
        // its closing line. The read-ahead is left standing: its threads may
        // be inside a file.
        std::exit(0);
    }
    ShowObjects& o = *objects;
    scenes = SceneRunners{[&o] { return o.chess.chessRun(); }, [&o] { return o.ship.shipRun(); },
                          [&o] { return o.alien.alienRun(); }, [&o] { o.credits.creditsRun(); }};
    holdShowParts();

    period = static_cast<std::uint32_t>(o.frameLimiter.getPeriodMs());
    audio::AudioStream* stream = o.music.getStream();
    const int sampleRate = audio::streamSampleRate(stream);
    timing = std::make_unique<FrameTiming>(FrameTiming{period, 1, static_cast<std::uint64_t>(sampleRate)});
    if (const WavSound* track = audio::streamSound(stream)) cues = chaptersOf(track->cues, sampleRate, period);
    for (const Chapter& chapter : cues) {
        if (chapter.name == cue::kFadeToCredits) closing = std::min(closing, chapter.frame);
    }
    if (clock != nullptr) current = clock->framesDone();
}

Show::~Show() {
    // Still reading ahead only when start-up never finished: a missing file
    // ended it, and the threads may be inside a file.
    if (readAhead != nullptr) setPictureReadAhead(nullptr);
}

// The show's own parts of a show state, after its objects: the OpenGL state
// last, since putting a light back sends it too.
void Show::holdShowParts() {
    registry.hold("sequence", [this] {
        const std::int32_t state = sequencer.sceneState();
        return HeldState{[this, state] { sequencer.setSceneState(state); }, sizeof state};
    });
    registry.hold("sky scroll", [this] {
        const SkyBoxScroll scroll = skyScroll;
        return HeldState{[this, scroll] { skyScroll = scroll; }, sizeof scroll};
    });
    registry.hold("limiter release", [this] {
        const std::uint32_t release = lastRelease;
        return HeldState{[this, release] { lastRelease = release; }, sizeof release};
    });
    registry.hold("random generator", [] {
        const RandomPosition position = randomPosition();
        return HeldState{[position] {
                             if (position.seed != randomPosition().seed || position.drawn < randomPosition().drawn) {
                                 setRandomPosition(position);
                             } else {
                                 // Forward from where the generator stands: only the difference is drawn.
                                 while (randomPosition().drawn < position.drawn) showRandom();
                             }
                         },
                         sizeof position};
    });
    registry.hold("music", [this] {
        audio::AudioStream* stream = objects->music.getStream();
        const audio::StreamPosition position = audio::streamPosition(stream);
        std::string pending = showSyncTag().waiting();
        const std::size_t bytes = sizeof position + pending.capacity();
        return HeldState{[stream, position, pending = std::move(pending)] {
                             audio::setStreamPosition(stream, position);
                             showSyncTag().setWaiting(pending);
                         },
                         bytes};
    });
    registry.hold("OpenGL state", [] {
        GlState gl = GlState::save();
        return HeldState{[gl] { gl.restore(); }, sizeof gl};
    });
}

Music& Show::music() { return objects->music; }

void Show::start() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    setUp();
}

// The start-up steps that need the window. Light positions are taken under
// the identity: no reshape has run yet.
void Show::setUp() {
    ShowObjects& o = *objects;
    o.font14.buildGlyphLists();

    setUpShowLights(o.light0, o.light1);

    resetRenderState();
    o.timer2.start();
    seedShowRandom(platform::tickCount());

    metaballs = std::make_unique<MetaballField>();  // reseeds the random generator
    metaballs->allocateVertexBuffer();
    metaballs->allocateIndexBuffer();
    metaballs->setResolution(50);
    metaballs->setAmbient(0.2f, 0.2f, 0.2f, 1);
    metaballs->setDiffuse(1, 1, 1, 1);
    metaballs->setFace(GL_BACK);
    metaballs->setSpecular(0, 0, 0, 1);
    metaballs->setBallCount(10);
    metaballs->setTextured(true);

    o.timer3.start();
    o.music.setSyncCallback();
    o.credits.creditsInit();
    o.chess.chessInit();
    o.ship.shipInit();
    o.alien.alienInit();
    o.intro.introInit();
    setPictureReadAhead(nullptr);
    delete readAhead;
    readAhead = nullptr;
    // Last, so that no cue passes before the scenes are ready for it.
    o.music.play();
}

void Show::drawFrame() {
    ShowObjects& o = *objects;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    resetRenderState();
    sequencer.runScene(scenes);
    endFrame(FrameClocks{o.timer1, o.timer2, o.timer3, o.frameLimiter});
}

const Chapter* Show::chapterAt(std::uint64_t frame) const {
    const Chapter* found = nullptr;
    for (const Chapter& chapter : cues) {
        if (chapter.frame <= frame) found = &chapter;
    }
    return found;
}

const Chapter* Show::chapterAfter(std::uint64_t frame) const {
    for (const Chapter& chapter : cues) {
        if (chapter.frame > frame) return &chapter;
    }
    return nullptr;
}

void Show::runFrame(bool drawn) {
    const Chapter* chapter = chapterAt(current);
    const bool chapterStarts = chapter != nullptr && chapter->frame == current;
    if ((chapterStarts || current % kFramesBetweenSaves == 0) && saved.count(current) == 0) saveHere();
    // An empty scissor box lets the renderer drop every fragment.
    if (!drawn) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 0, 0);
    }
    drawFrame();
    if (!drawn) glDisable(GL_SCISSOR_TEST);
    clock->advance(period);
    ++current;
}

void Show::seek(std::uint64_t target) {
    if (target == current) return;
    auto from = saved.upper_bound(target);
    if (from != saved.begin()) {
        --from;
        // Restore only what is nearer than going on from here.
        if (target < current || from->first > current) restore(from->second, from->first);
    }
    // The frames on the way are run for their state alone; the last few send
    // their geometry too, so what they leave in OpenGL is what a straight
    // run leaves there.
    setGeometryLeftOut(true);
    while (current + kFullFramesBeforeTarget < target) runFrame(false);
    setGeometryLeftOut(false);
    while (current < target) runFrame(false);
}

ShowState Show::save() const { return registry.save(); }

void Show::restore(const ShowState& state, std::uint64_t frame) {
    StateRegistry::restore(state);
    clock->setFrame(frame, period);
    current = frame;
}

void Show::saveHere() { saved.emplace(current, save()); }

std::size_t Show::savedBytes() const {
    std::size_t total = 0;
    for (const auto& [frame, state] : saved) total += state.bytes();
    return total;
}
