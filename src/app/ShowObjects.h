// The show's global objects. They are built in one fixed order before the
// window exists (the order decides light numbers, start-up output and which
// missing file is reported first) and torn down in reverse order when the
// process exits, each one on its own, as globals are.
#pragma once

#include "app/FrameLimiter.h"
#include "app/Sequencer.h"
#include "app/Timer.h"

class Material;
class Music;
class Picture;

struct ShowObjects {
    Material& defaultMaterial;
    Timer& timer1;
    Timer& timer2;
    FrameLimiter& frameLimiter;
    Timer& timer3;
    Music& music;
    Picture& creditsPicture;
    Picture& salutePicture;

    SceneRunners scenes;
};

// Builds every object on the first call, in the show's order; later calls
// return the same objects. Must run before the window is created.
ShowObjects& showObjects();

// The set-up that needs the window: lights, glyph lists, the metaball field,
// the pictures, the scenes' own init functions and, last, the music.
void initShowObjects(ShowObjects& show);
