#include "app/ShowObjects.h"

#include <cstdlib>

#include "music/Music.h"
#include "platform/Ticks.h"
#include "render/Material.h"
#include "render/Picture.h"
#include "render/RenderState.h"
#include "scenes/Credits.h"

namespace {

// Until the scenes exist their states only show the cleared screen.
bool holdScene() { return true; }

}  // namespace

ShowObjects& showObjects() {
    // Function-local statics: each is built when control first passes it and
    // is destroyed at exit in reverse order, exactly like a global, including
    // when a later object ends the process while it is being built.
    static Material& material = defaultMaterial();
    static Timer timer1;
    static Timer timer2;
    static FrameLimiter frameLimiter(80);
    static Timer timer3;
    static Music music("demot.wav", 255);
    static Picture creditsPicture;
    static Picture salutePicture;

    static ShowObjects show{material,       timer1,        timer2,
                            frameLimiter,   timer3,        music,
                            creditsPicture, salutePicture, SceneRunners{holdScene, holdScene, holdScene, creditsRun}};
    return show;
}

void initShowObjects(ShowObjects& show) {
    resetRenderState();
    show.timer2.start();
    std::srand(platform::tickCount());
    show.timer3.start();
    show.music.setSyncCallback();
    setCreditsCast({show.music, show.creditsPicture, show.salutePicture});
    creditsInit();
    // Last, so the first cue cannot pass before the scenes are ready for it.
    show.music.play();
}
