// The show itself, independent of how it is shown: its objects built in
// their order, its start-up, the frame both the screen and the capture draw,
// the sequence of scenes, and, on the show clock, the row of frames it can be
// moved along through the states saved on the way. Every front end drives
// the show through this one object; where the frame goes (a window's swap,
// a video's read-back, a browser's canvas) is the front end's business.
//
// There is one show in a process: its objects share the C library's random
// generator, OpenGL's light numbers and the platform's clock.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "effects/SkyBox.h"
#include "show/FrameTiming.h"
#include "show/Sequencer.h"
#include "show/ShowSpan.h"
#include "show/StateRegistry.h"

class Music;
class MetaballField;
class OfflineClock;
class PictureReadAhead;
struct ShowObjects;

class Show {
public:
    // Builds every object over the data in `dataFolder`: a missing or bad
    // file ends the process with its message, the objects built before it
    // taken down in reverse order. With `clock` the show runs on the show
    // clock (each frame 12 ms of show time and as much music, whatever a
    // frame takes to draw) and can be moved about; without, on the wall
    // clock and the sound card, as it always has. The clock was built first:
    // every seed the objects take comes from it.
    Show(const std::string& dataFolder, OfflineClock* clock);
    ~Show();
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    // The start-up that needs the OpenGL context: the baseline state, then
    // every set-up step in its order, the music started last. The view is
    // the front end's (reshape and friends, show/View.h).
    void start();

    // One frame without the swap: clear, reset, the current scene, timers and
    // the limiter's wait.
    void drawFrame();

    // --- On the show clock ---
    // Runs the current frame, drawn or with every fragment dropped (its
    // scene still moves on), then moves the clock on: the cues passed are
    // pending for the next frame. A state is saved first at every chapter
    // and once a second of show time.
    void runFrame(bool drawn);
    // Makes `target` the frame about to be drawn: from the nearest saved
    // state at or before it (or from here, when that is nearer), through the
    // frames between, undrawn. A target at or past the closing frame runs
    // into it, and the show ends.
    void seek(std::uint64_t target);
    // The whole show state, and putting it back (with the clock's frame).
    ShowState save() const;
    void restore(const ShowState& state, std::uint64_t frame);

    // --- Where it is ---
    // The frame about to be drawn, and its show time.
    std::uint64_t frame() const { return current; }
    std::uint64_t showMs() const { return current * period; }
    std::uint32_t periodMs() const { return period; }
    // Samples of the track played before the current frame.
    std::uint64_t musicSample() const { return timing->sampleAt(current); }
    const FrameTiming& frameTiming() const { return *timing; }
    // 1 chess, 2 ship, 3 alien, 4 credits.
    std::int32_t section() const { return sequencer.sceneState(); }
    // Every labelled cue of the track, in order, with the frame that reads it.
    const std::vector<Chapter>& chapters() const { return cues; }
    // The last chapter whose frame is at or before `frame`, or null.
    const Chapter* chapterAt(std::uint64_t frame) const;
    // The first chapter after `frame`, or null.
    const Chapter* chapterAfter(std::uint64_t frame) const;
    // The frame that reads the closing cue: running it ends the show.
    std::uint64_t closingFrame() const { return closing; }

    Music& music();
    const StateRegistry& stateRegistry() const { return registry; }
    std::size_t savedStates() const { return saved.size(); }
    std::size_t savedBytes() const;

private:
    void setUp();
    void holdShowParts();
    void saveHere();

    OfflineClock* clock;
    StateRegistry registry;
    Sequencer sequencer;
    std::uint32_t lastRelease = 0;  // shared by the show's limiters
    SkyBoxScroll skyScroll;         // shared by its sky boxes
    PictureReadAhead* readAhead = nullptr;
    std::unique_ptr<ShowObjects> objects;
    std::unique_ptr<MetaballField> metaballs;  // built and configured at start-up, never drawn
    SceneRunners scenes;

    std::uint32_t period = 0;
    std::unique_ptr<FrameTiming> timing;
    std::vector<Chapter> cues;
    std::uint64_t closing = UINT64_MAX;
    std::uint64_t current = 0;
    std::map<std::uint64_t, ShowState> saved;
};
