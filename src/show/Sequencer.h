// The show is four states run one after another: chess, ship, alien, credits.
// A scene's run function draws one frame and returns false when it is over;
// the next state starts on the next frame. The credits never finish: the
// process ends from inside them.
#pragma once

#include <cstdint>

class Timer;
class FrameLimiter;

// 1 chess, 2 ship, 3 alien, 4 credits. Moves only forward, one step per frame.
extern std::int32_t sceneState;

struct SceneRunners {
    bool (*chess)();
    bool (*ship)();
    bool (*alien)();
    void (*credits)();
};

// Runs the scene of the current state and advances the state when it ends.
void runScene(const SceneRunners& scenes);

struct FrameClocks {
    Timer& timer1;
    Timer& timer2;
    Timer& timer3;
    FrameLimiter& limiter;
};

// Keeps the timers current, then spins (no sleep) until the limiter releases
// the frame, keeping them current all the while.
void endFrame(const FrameClocks& clocks);
