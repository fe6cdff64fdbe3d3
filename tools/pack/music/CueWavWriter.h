// Writes 16-bit PCM WAV files with named cue points: a `cue ` chunk and an
// associated-data list with one `labl` per cue, after the samples, as sound
// editors write them. libsndfile can write cue positions but not their names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct NamedCue {
    std::string name;
    std::uint32_t frame;
};

// Throws std::runtime_error when the file cannot be written.
void writeCueWav(const std::filesystem::path& path, int sampleRate, int channels,
                 const std::vector<std::int16_t>& samples, const std::vector<NamedCue>& cues);
