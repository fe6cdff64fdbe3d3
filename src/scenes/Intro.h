// The title overlay: the group's name and two credit lines in the 14-pixel
// font over a logo strip that slides in from the left. Start-up prepares it,
// but no state of the sequencer runs it, and nothing in it ever finishes.
#pragma once

class Music;
class Texture;
class TileFont;

struct IntroCast {
    Music& music;
    TileFont& font14;
    Texture& logo;
    // The scene that runs under the titles once the music says "01".
    bool (*chessRun)();
};

void setIntroCast(const IntroCast& cast);

// Chooses the logo's format; the picture itself is loaded on "01".
void introInit();

// One frame of the titles. Reads the sync tag once.
void introRun();

// Back to the state before the first frame, for tests that run several
// intros in one process. The show never calls it.
void resetIntroScene();
