#include "show/Sequencer.h"

#include "show/FrameLimiter.h"
#include "show/Timer.h"

std::int32_t sceneState = 1;

void runScene(const SceneRunners& scenes) {
    switch (sceneState) {
    case 1:
        if (!scenes.chess()) sceneState = 2;
        break;
    case 2:
        if (!scenes.ship()) sceneState = 3;
        break;
    case 3:
        if (!scenes.alien()) sceneState = 4;
        break;
    case 4:
        scenes.credits();
        break;
    default:
        break;
    }
}

namespace {
void updateTimers(const FrameClocks& clocks) {
    clocks.timer1.update();
    clocks.timer2.update();
    clocks.timer3.update();
}
}  // namespace

void endFrame(const FrameClocks& clocks) {
    updateTimers(clocks);
    while (clocks.limiter.mustWait()) updateTimers(clocks);
}
