// The title overlay: the group's name and two credit lines in the 14-pixel
// font over a logo strip that slides in from the left. Start-up prepares it,
// but no state of the sequencer runs it, and nothing in it ever finishes.
#pragma once

#include <functional>

class Music;
class Texture;
class TileFont;

struct IntroCast {
    Music& music;
    TileFont& font14;
    Texture& logo;
    // The scene that runs under the titles once the music says "01".
    std::function<bool()> chessRun;
};

class IntroScene {
public:
    explicit IntroScene(const IntroCast& cast) : cast(cast) {}

    // Chooses the logo's format; the picture itself is loaded on "01".
    void introInit();

    // One frame of the titles. Reads the sync tag once.
    void introRun();

private:
    void drawLogoStrip();

    IntroCast cast;
    float frameTime = 0.0f;  // advances 0.7 per frame; the titles' motion runs on it
    float stripX = -500.0f;
    bool chessStarted = false;
    bool titlesShown = false;
    // Writable: printing lower-cases them in place.
    char foundationLine[24] = "The Quillory foundation";
    char presentsLine[30] = "Proudly presents a fast intro";
    char groupName[9] = "Quillory";
    char groupNameEcho[9] = "Quillory";
};
