// The second section: an environment-mapped ship tumbling inside a sky box
// with a drifting cloud ceiling, under a title that fades out and two strips
// that fade in on cue.
#pragma once

#include "platform/LiveInstances.h"

class Music;
class SkyBox;
class Model;
class Picture;
class Light;

struct ShipCast {
    Music& music;
    SkyBox& shipSky;
    Model& shipModel;
    Picture& shipTitlePicture;
    Picture& applausePicture;
    Picture& leetPicture;
    Light& light0;
};

struct ShipState {
    float time = 0.0f;  // frames drawn; also the tumbling angle in degrees
    bool allBalls = false;
    bool fadeOut = false;
};

class ShipScene : platform::LiveInstances<ShipScene> {
public:
    explicit ShipScene(const ShipCast& cast) : cast(cast) {}

    void shipInit();
    // False on the frame that receives "scene3"; that frame draws nothing.
    bool shipRun();

    const ShipState& getState() const { return state; }
    void setState(const ShipState& saved) { state = saved; }

private:
    ShipCast cast;
    ShipState state;
};
