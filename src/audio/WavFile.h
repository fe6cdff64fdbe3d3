// A WAV file decoded into 16-bit samples, with its cue points: the sound
// layer plays from memory so the audio callback never touches a file.
// Decoding goes through libsndfile, so every common variant is accepted
// (8/16/24/32-bit integer, float, mu-law, any rate and channel count).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

// Decodes a WAV file held in memory a block at a time, for a caller that
// wants to play the start before the end is decoded. The bytes must outlive
// the reader.
class WavReader {
public:
    // Null when libsndfile cannot read the bytes as sound.
    static std::unique_ptr<WavReader> open(const unsigned char* data, std::size_t size);
    ~WavReader();
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    int sampleRate() const { return rate; }
    int channels() const { return channelCount; }
    // The frames the header promises, cut to what the bytes could hold (no
    // more frames than bytes per channel) and to 32 bits. The header may
    // still promise more than there are: read() says when the data ends.
    std::uint32_t promisedFrames() const { return promised; }
    std::vector<WavCue> cues() const;

    // Decodes up to `frames` frames into `out` (channels() values each), as
    // decodeWav does. Returns the number decoded, 0 once the data has ended.
    std::uint32_t read(std::int16_t* out, std::uint32_t frames);

private:
    struct Source;
    WavReader() = default;

    std::unique_ptr<Source> source;
    int rate = 0;
    int channelCount = 0;
    std::uint32_t promised = 0;
    bool plain16 = false;  // 16-bit PCM: read as it is stored
    std::vector<float> scratch;
};

// Decodes a WAV file held in memory. Empty when libsndfile cannot read it.
std::optional<WavSound> decodeWav(const unsigned char* data, std::size_t size);

// Reads the file at `path` (a real path, not a show data name) and decodes it.
std::optional<WavSound> loadWav(const std::string& path);

// Writes 16-bit PCM samples (interleaved, `channels` per frame) as a plain
// WAV file. False when the file cannot be written whole.
bool saveWav(const std::string& path, int sampleRate, int channels, const std::vector<std::int16_t>& samples);
