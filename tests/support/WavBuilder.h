// Small WAV files made in memory for tests that need cues at chosen frames:
// 16-bit PCM, a `cue ` chunk and, for the cues given a label, an adtl list.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct BuiltCue {
    std::uint32_t frame;
    std::optional<std::string> label;  // none: the cue has no labl chunk
};

class WavBuilder {
public:
    WavBuilder(int sampleRate, int channels) : rate(sampleRate), channelCount(channels) {}

    // Frame f, channel c holds sampleAt(f, c): easy to recognise in the output.
    static std::int16_t sampleAt(std::uint32_t frame, int channel) {
        return static_cast<std::int16_t>(static_cast<std::int32_t>(frame * 7 + channel * 1000) % 30000 - 15000);
    }

    std::vector<unsigned char> bytes(std::uint32_t frames, const std::vector<BuiltCue>& cues) const {
        std::vector<unsigned char> out;
        auto put = [&](const std::string& s) { out.insert(out.end(), s.begin(), s.end()); };
        auto put16 = [&](std::uint32_t v) {
            out.push_back(static_cast<unsigned char>(v));
            out.push_back(static_cast<unsigned char>(v >> 8));
        };
        auto put32 = [&](std::uint32_t v) {
            put16(v & 0xFFFF);
            put16(v >> 16);
        };
        auto patch32 = [&](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
        };
        put("RIFF");
        put32(0);
        put("WAVE");
        put("fmt ");
        put32(16);
        put16(1);
        put16(static_cast<std::uint32_t>(channelCount));
        put32(static_cast<std::uint32_t>(rate));
        put32(static_cast<std::uint32_t>(rate * channelCount * 2));
        put16(static_cast<std::uint32_t>(channelCount * 2));
        put16(16);
        put("data");
        put32(frames * static_cast<std::uint32_t>(channelCount) * 2);
        for (std::uint32_t f = 0; f < frames; ++f) {
            for (int c = 0; c < channelCount; ++c) put16(static_cast<std::uint16_t>(sampleAt(f, c)));
        }
        if (!cues.empty()) {
            put("cue ");
            put32(4 + 24 * static_cast<std::uint32_t>(cues.size()));
            put32(static_cast<std::uint32_t>(cues.size()));
            for (std::uint32_t i = 0; i < cues.size(); ++i) {
                put32(i + 1);
                put32(cues[i].frame);
                put("data");
                put32(0);
                put32(0);
                put32(cues[i].frame);
            }
            put("LIST");
            const std::size_t listSize = out.size();
            put32(0);
            put("adtl");
            for (std::uint32_t i = 0; i < cues.size(); ++i) {
                if (!cues[i].label) continue;
                put("labl");
                put32(4 + static_cast<std::uint32_t>(cues[i].label->size()) + 1);
                put32(i + 1);
                put(*cues[i].label);
                out.push_back(0);
                if (out.size() % 2 != 0) out.push_back(0);
            }
            patch32(listSize, static_cast<std::uint32_t>(out.size() - listSize - 4));
        }
        patch32(4, static_cast<std::uint32_t>(out.size() - 8));
        return out;
    }

    void write(const std::string& path, std::uint32_t frames, const std::vector<BuiltCue>& cues) const {
        const std::vector<unsigned char> data = bytes(frames, cues);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                                   static_cast<std::streamsize>(data.size()));
    }

private:
    int rate;
    int channelCount;
};

}  // namespace testsupport
