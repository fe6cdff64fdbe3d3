// A WAV file decoded whole into 16-bit samples, with its cue points: the
// sound layer plays from memory so the audio callback never touches a file.
// Decoding goes through libsndfile, so every common variant is accepted
// (8/16/24/32-bit integer, float, mu-law, any rate and channel count).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct WavCue {
    std::uint32_t id = 0;
    std::uint32_t frame = 0;  // sample frame in the data, counted from 0
    std::string label;
    bool labelled = false;  // false when no `labl` names the cue
};

struct WavSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;  // interleaved, frames() * channels values
    std::vector<WavCue> cues;           // in the order of the cue chunk

    std::uint32_t frames() const {
        return channels > 0 ? static_cast<std::uint32_t>(samples.size() / static_cast<std::size_t>(channels)) : 0;
    }
};

// Decodes a WAV file held in memory. Empty when libsndfile cannot read it.
std::optional<WavSound> decodeWav(const unsigned char* data, std::size_t size);

// Reads the file at `path` (a real path, not a show data name) and decodes it.
std::optional<WavSound> loadWav(const std::string& path);

// Writes 16-bit PCM samples (interleaved, `channels` per frame) as a plain
// WAV file. False when the file cannot be written whole.
bool saveWav(const std::string& path, int sampleRate, int channels, const std::vector<std::int16_t>& samples);
