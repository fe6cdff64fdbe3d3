#include "show/Sequencer.h"

#include "show/FrameLimiter.h"
#include "show/Timer.h"

void Sequencer::runScene(const SceneRunners& scenes) {
    switch (state) {
    case 1:
        if (!scenes.chess()) state = 2;
        break;
    case 2:
        if (!scenes.ship()) state = 3;
        break;
    case 3:
        if (!scenes.alien()) state = 4;
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
