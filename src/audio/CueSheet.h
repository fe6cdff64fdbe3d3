// A track's timing without its sound: rate, channels, length in frames and
// every cue point with its label, as a few lines of text. The browser edition
// carries this in place of the WAV, beside a compressed copy of the music:
// the show moves on it, cue for cue and sample for sample, exactly as on the
// WAV, while the page plays the sound.
//
//   cue-sheet 1
//   rate 44100
//   channels 2
//   frames 4579968
//   cue 1 211680 queenRoll      (id, sample frame, label; no label: unlabelled)
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/WavFile.h"

namespace audio {

struct CueSheet {
    int sampleRate = 0;
    int channels = 0;
    std::uint32_t frames = 0;
    std::vector<WavCue> cues;
};

std::string writeCueSheet(const CueSheet& sheet);

// Whether the bytes are a cue sheet at all (and not, say, a WAV).
bool looksLikeCueSheet(const unsigned char* data, std::size_t size);
// Nothing when the text is not a whole, sound cue sheet.
std::optional<CueSheet> readCueSheet(const std::string& text);

}  // namespace audio
