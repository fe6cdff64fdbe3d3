// The track's timeline: the show's cues in the order the music passes them,
// with the time each should fall on, and which musical section starts at a
// cue. The tempo is fixed so that a sixteenth note is a whole number of
// samples and every cue lands exactly on a beat.
#pragma once

#include <cstdint>

#include "music/Cues.h"

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
    {cue::kQueenRoll, 5, false, Section::ChessA},
    {cue::kQueenText, 10, false, Section::ChessA},
    {cue::kQueenThrow, 14, false, Section::ChessA},
    {cue::kKingStart, 17, false, Section::ChessA},
    {cue::kQueenRoll2, 21, false, Section::ChessA},
    {cue::kOutKing, 25, false, Section::ChessA},
    {cue::kPesants, 29, true, Section::ChessB},
    {cue::kGraphical, 35, false, Section::ChessB},
    {cue::kGraphical2, 42, true, Section::Ship},
    {cue::kAllBalls, 52, false, Section::Ship},
    {cue::kFadeOutScene2, 60, false, Section::Ship},
    {cue::kScene3, 66, true, Section::Alien},
    {cue::kAlienSuicide, 70, false, Section::Alien},
    {cue::kAlienSuicide2, 74, false, Section::Alien},
    {cue::kAlienSuicide3, 78, false, Section::Alien},
    {cue::kKubeShow, 83, false, Section::Alien},
    {cue::kLittleChase, 88, true, Section::Credits},
    {cue::kHandJobb, 96, false, Section::Credits},
    {cue::kFadeToCredits, 104, true, Section::Outro},
};
// clang-format on
constexpr int kCueCount = static_cast<int>(sizeof kCues / sizeof kCues[0]);

// The full track ends this long after its last cue (the outro), the short
// test track one beat after its last cue.
constexpr int kOutroBars = 4;

}  // namespace score
