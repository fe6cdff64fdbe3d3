// The first section: a queen in a slowly turning chess room, a view that rolls
// down over the board on cue, title cards, the queen thrown off and the king
// in her place; then a pawn tumbling inside a chess-textured cube.
#pragma once

#include "platform/LiveInstances.h"

#include <string>

class Music;
class SkyBox;
class Model;
class Picture;
class ParticleSystem;
class Texture;
class Light;

struct ChessCast {
    Music& music;
    SkyBox& chessRoom;
    SkyBox& chessCube;
    Model& queenModel;
    Model& kingModel;
    Model& pawnModel;
    ParticleSystem& smokeParticles;
    Picture& queenPicture;
    Picture& kingPicture;
    Picture& peasantsPicture;
    Picture& logoPicture;
    Texture& tgaTexture;
    Light& light0;
    Light& light1;
};

// The scene's state, kept from frame to frame and never reset by the show.
struct ChessState {
    float time = 0.0f;  // frames drawn; also an angle in degrees
    bool rolling = false;
    float rollAngle = 0.0f;  // added to the board view's 65-degree tilt: 0 down to -50
    float rollLift = 0.0f;
    bool outKing = false;  // the roll runs back to 0
    bool throwing = false;
    float throwX = 0.0f;
    float throwSpin = 0.0f;
    bool queenShown = true;
    bool kingShown = false;
    bool queenText = false;
    bool peasants = false;   // the tumbling cube replaces the board
    bool graphical = false;  // the logo strip
    bool finished = false;
    float lastSpaceTicks = 0.0f;  // tick count of the last accepted space-bar press
    bool begun = false;           // the first frame has run
};

class ChessScene : platform::LiveInstances<ChessScene> {
public:
    explicit ChessScene(const ChessCast& cast) : cast(cast) {}

    // Loads the scene's textures, pictures and maps.
    void chessInit();
    // False once the scene is over: on the frame after the one that saw "graphical2".
    bool chessRun();

    const ChessState& getState() const { return state; }
    // Puts the scene back where it stood (the player's seeks).
    void setState(const ChessState& saved) { state = saved; }

private:
    void startRoll();
    void react(const std::string& tag);
    void stepRoll();
    void enterBoardView();
    void drawPeasantsView();
    void pollSpaceBar();

    ChessCast cast;
    ChessState state;
};
