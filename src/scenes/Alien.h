// The third section: two chrome speakers, a creature walking away into the
// depth, faster and faster; comic strips on cue while the ship flies in,
// tips over and tumbles in orbit; an explosion to close.
#pragma once

#include "platform/LiveInstances.h"

class Music;
class Model;
class Picture;

struct AlienCast {
    Music& music;
    Model& speakerModel;
    Model& luvshakModel;
    Model& alienShipModel;
    Picture& toon1Picture;
    Picture& toon2Picture;
    Picture& toon3Picture;
    Picture& boomPicture;
};

struct AlienState {
    float chase = 0.0f;     // how far the walker has gone: it stands at depth 160 - chase
    float approach = 0.0f;  // how far the ship has flown in, up to 130
    float shipTime = 0.0f;  // the ship's own clock, while it is drawn
    bool toon1 = false;
    bool toon2 = false;
    bool toon3 = false;
    bool boom = false;
};

class AlienScene : platform::LiveInstances<AlienScene> {
public:
    explicit AlienScene(const AlienCast& cast) : cast(cast) {}

    void alienInit();
    // False on the frame that receives "littleChase"; that frame draws nothing.
    bool alienRun();

    const AlienState& getState() const { return state; }
    void setState(const AlienState& saved) { state = saved; }

private:
    void drawSpeakers();
    void moveWalker();
    void flyShip();

    AlienCast cast;
    AlienState state;
};
