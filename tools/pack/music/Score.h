// The track's timeline: the show's cues in the order the music passes them,
// with the time each should fall on, and which musical section starts at a
// cue. The tempo is fixed so that a sixteenth note is a whole number of
// samples and every cue lands exactly on a beat.
#pragma once

#include <cstdint>

namespace score {

constexpr int kSampleRate = 44100;
constexpr int kBeatsPerMinute = 125;
constexpr std::uint32_t kStepFrames = kSampleRate * 60 / kBeatsPerMinute / 4;  // a sixteenth: 5292
constexpr std::uint32_t kBeatFrames = 4 * kStepFrames;
constexpr std::uint32_t kBarFrames = 4 * kBeatFrames;
static_assert(kSampleRate * 60 % (kBeatsPerMinute * 4) == 0, "a sixteenth must be a whole number of samples");

enum class Section { Intro, ChessA, ChessB, Ship, Alien, Credits, Outro };

struct Cue {
    const char* name;
    double seconds;         // where the show wants it
    bool onBar;             // a section starts here: moved to the nearest bar
    Section startsSection;  // meaningful when onBar
};

// clang-format off
constexpr Cue kCues[] = {
    {"queenRoll", 5, false, Section::ChessA},
    {"queenText", 10, false, Section::ChessA},
    {"queenThrow", 14, false, Section::ChessA},
    {"kingStart", 17, false, Section::ChessA},
    {"queenRoll2", 21, false, Section::ChessA},
    {"outKing", 25, false, Section::ChessA},
    {"pesants", 29, true, Section::ChessB},
    {"graphical", 35, false, Section::ChessB},
    {"graphical2", 42, true, Section::Ship},
    {"allBalls", 52, false, Section::Ship},
    {"fadeOutScene2", 60, false, Section::Ship},
    {"scene3", 66, true, Section::Alien},
    {"alienSuicide", 70, false, Section::Alien},
    {"alienSuicide2", 74, false, Section::Alien},
    {"alienSuicide3", 78, false, Section::Alien},
    {"kubeShow", 83, false, Section::Alien},
    {"littleChase", 88, true, Section::Credits},
    {"handJobb", 96, false, Section::Credits},
    {"fadeToCredits", 104, true, Section::Outro},
};
// clang-format on
constexpr int kCueCount = static_cast<int>(sizeof kCues / sizeof kCues[0]);

// The full track ends this long after its last cue (the outro), the short
// test track one beat after its last cue.
constexpr int kOutroBars = 4;

}  // namespace score
