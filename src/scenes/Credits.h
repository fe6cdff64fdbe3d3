// The closing credits, the sequencer's last state: the credits picture fades
// in, the salute picture fades in over it on the cue "handJobb", and the cue
// "fadeToCredits" ends the process. The credits never report that they are done.
#pragma once

#include "platform/LiveInstances.h"

class Music;
class Picture;

struct CreditsCast {
    Music& music;
    Picture& creditsPicture;
    Picture& salutePicture;
};

struct CreditsState {
    bool showCredits = false;
    bool showSalute = false;  // once the salute is up it stays up
};

class CreditsScene : platform::LiveInstances<CreditsScene> {
public:
    explicit CreditsScene(const CreditsCast& cast) : cast(cast) {}

    // Loads both pictures; a missing one ends the process with the JPG message.
    void creditsInit();
    // Draws one credits frame. On "fadeToCredits" the process exits with code 0
    // before the frame is shown.
    void creditsRun();

    const CreditsState& getState() const { return state; }
    void setState(const CreditsState& saved) { state = saved; }

private:
    CreditsCast cast;
    CreditsState state;
};
