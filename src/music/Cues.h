// The names of the music's cue points that the show reacts to, in the order
// the score plays them. Scenes, the data-pack generator, the tests and the
// tools all spell them from here.
#pragma once

namespace cue {

// Chess
constexpr const char* kQueenRoll = "queenRoll";
constexpr const char* kQueenText = "queenText";
constexpr const char* kQueenThrow = "queenThrow";
constexpr const char* kKingStart = "kingStart";
constexpr const char* kQueenRoll2 = "queenRoll2";
constexpr const char* kOutKing = "outKing";
constexpr const char* kPesants = "pesants";
constexpr const char* kGraphical = "graphical";
constexpr const char* kGraphical2 = "graphical2";  // the chess section ends
// Ship
constexpr const char* kAllBalls = "allBalls";
constexpr const char* kFadeOutScene2 = "fadeOutScene2";
constexpr const char* kScene3 = "scene3";  // the ship section ends
// Alien
constexpr const char* kAlienSuicide = "alienSuicide";
constexpr const char* kAlienSuicide2 = "alienSuicide2";
constexpr const char* kAlienSuicide3 = "alienSuicide3";
constexpr const char* kKubeShow = "kubeShow";
constexpr const char* kLittleChase = "littleChase";  // the alien section ends
// Closing credits
constexpr const char* kHandJobb = "handJobb";
constexpr const char* kFadeToCredits = "fadeToCredits";  // the process ends
// The intro's own, outside the running show
constexpr const char* kIntro01 = "01";
constexpr const char* kIntro02 = "02";

constexpr const char* kScore[] = {kQueenRoll,     kQueenText,   kQueenThrow,   kKingStart,     kQueenRoll2,
                                  kOutKing,       kPesants,     kGraphical,    kGraphical2,    kAllBalls,
                                  kFadeOutScene2, kScene3,      kAlienSuicide, kAlienSuicide2, kAlienSuicide3,
                                  kKubeShow,      kLittleChase, kHandJobb,     kFadeToCredits};

}  // namespace cue
