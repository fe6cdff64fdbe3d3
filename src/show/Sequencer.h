// The show is four states run one after another: chess, ship, alien, credits.
// A scene's run function draws one frame and returns false when it is over;
// the next state starts on the next frame. The credits never finish: the
// process ends from inside them.
#pragma once

#include <cstdint>
#include <functional>

class Timer;
class FrameLimiter;

struct SceneRunners {
    std::function<bool()> chess;
    std::function<bool()> ship;
    std::function<bool()> alien;
    std::function<void()> credits;
};

class Sequencer {
public:
    // 1 chess, 2 ship, 3 alien, 4 credits. Moves only forward, one step per frame.
    std::int32_t sceneState() const { return state; }
    // Puts the sequence back where a show state had it.
    void setSceneState(std::int32_t saved) { state = saved; }

    // Runs the scene of the current state and advances the state when it ends.
    void runScene(const SceneRunners& scenes);

private:
    std::int32_t state = 1;
};

struct FrameClocks {
    Timer& timer1;
    Timer& timer2;
    Timer& timer3;
    FrameLimiter& limiter;
};

// Keeps the timers current, then spins (no sleep) until the limiter releases
// the frame, keeping them current all the while.
void endFrame(const FrameClocks& clocks);
