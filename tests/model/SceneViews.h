// The camera set-ups in which the show draws its models, as the scenes build
// their modelview matrices, so the models can be checked where they will be
// seen. Each leaves the modelview matrix at the frame the model is drawn in.
#pragma once

class Light;

// The two lights as the show's set-up leaves them (the second on, at
// (0, 40, -10) in eye space), and the first switched on as the ship scene does.
void showLights(Light& first, Light& second, bool firstOn);

// The chess board view at scene time `time`, with the view roll state;
// `floor` draws an 8x8 board where the room's floor is, for reference.
void boardView(float time, float rollAngle, float rollLift, bool floor);
// The tumbling cube view, at the pawn's frame.
void peasantsView(float time);
// The ship scene's ship.
void shipView(float time);
// The alien scene: a speaker at x = side * 40, the walker at `chase`.
void speakerView(float side);
void walkerView(float chase);
