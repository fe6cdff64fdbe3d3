// Small 16-bit WAV files made for tests that need cues at chosen frames: a
// `cue ` chunk, and an adtl list naming the cues that have a label.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct BuiltCue {
    std::uint32_t frame;
    std::optional<std::string> label;  // none: no labl chunk for this cue
};

// Frame f, channel c of a built file: easy to recognise in what was played.
inline std::int16_t builtSample(std::uint32_t frame, int channel) {
    return static_cast<std::int16_t>(static_cast<std::int32_t>((frame * 7 + channel * 1000) % 30000) - 15000);
}

inline void writeWav(const std::string& path, int rate, int channels, std::uint32_t frames,
                     const std::vector<BuiltCue>& cues) {
    std::string out;
    auto put = [&](std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
    };
    auto fillSize = [&](std::size_t at) {  // of the chunk whose size field is at `at`
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((out.size() - at - 4) >> (8 * i));
    };
    out += "RIFF____WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * 2, 4);
    put(channels * 2, 2);
    put(16, 2);
    out += "data";
    put(frames * channels * 2, 4);
    for (std::uint32_t f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) put(static_cast<std::uint16_t>(builtSample(f, c)), 2);
    }
    out += "cue ";
    put(4 + 24 * cues.size(), 4);
    put(cues.size(), 4);
    for (std::size_t i = 0; i < cues.size(); ++i) {
        put(i + 1, 4);
        put(cues[i].frame, 4);
        out += "data";
        put(0, 8);
        put(cues[i].frame, 4);
    }
    const std::size_t list = out.size() + 4;
    out += "LIST____adtl";
    for (std::size_t i = 0; i < cues.size(); ++i) {
        if (!cues[i].label) continue;
        out += "labl";
        put(4 + cues[i].label->size() + 1, 4);
        put(i + 1, 4);
        out += *cues[i].label + '\0';
        if (out.size() % 2 != 0) out += '\0';
    }
    fillSize(list);
    fillSize(4);
    std::ofstream(path, std::ios::binary) << out;
}

}  // namespace testsupport
