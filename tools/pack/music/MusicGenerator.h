// The show's music, "demot.wav": a synthesized track whose cue points carry
// the names the show reacts to.
#pragma once

struct PackContext;

// The full track, or with pack.shortTrack the short one for tests.
void writeMusic(const PackContext& pack);
