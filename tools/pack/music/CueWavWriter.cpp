#include "pack/music/CueWavWriter.h"

#include <fstream>
#include <stdexcept>

namespace {

class RiffBuffer {
public:
    void id(const char* fourCharacters) { bytes.insert(bytes.end(), fourCharacters, fourCharacters + 4); }
    void u16(std::uint32_t value) {
        bytes.push_back(static_cast<char>(value & 0xFF));
        bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    // Opens a chunk; close() fills in its size and pads it to an even length.
    std::size_t open(const char* fourCharacters) {
        id(fourCharacters);
        u32(0);
        return bytes.size();
    }
    void close(std::size_t bodyStart) {
        const std::size_t size = bytes.size() - bodyStart;
        for (int i = 0; i < 4; ++i) bytes[bodyStart - 4 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
        if (size % 2 != 0) bytes.push_back(0);
    }
    std::string bytes;
};

}  // namespace

void writeCueWav(const std::filesystem::path& path, int sampleRate, int channels,
                 const std::vector<std::int16_t>& samples, const std::vector<NamedCue>& cues) {
    RiffBuffer riff;
    const std::size_t riffBody = riff.open("RIFF");
    riff.id("WAVE");

    const std::size_t format = riff.open("fmt ");
    riff.u16(1);  // PCM
    riff.u16(static_cast<std::uint32_t>(channels));
    riff.u32(static_cast<std::uint32_t>(sampleRate));
    riff.u32(static_cast<std::uint32_t>(sampleRate * channels * 2));
    riff.u16(static_cast<std::uint32_t>(channels * 2));
    riff.u16(16);
    riff.close(format);

    const std::size_t data = riff.open("data");
    for (std::int16_t sample : samples) riff.u16(static_cast<std::uint16_t>(sample));
    riff.close(data);

    // Cue ids count from 1; position and sample offset are both the frame,
    // as there is no playlist.
    const std::size_t cueChunk = riff.open("cue ");
    riff.u32(static_cast<std::uint32_t>(cues.size()));
    for (std::size_t i = 0; i < cues.size(); ++i) {
        riff.u32(static_cast<std::uint32_t>(i + 1));
        riff.u32(cues[i].frame);
        riff.id("data");
        riff.u32(0);
        riff.u32(0);
        riff.u32(cues[i].frame);
    }
    riff.close(cueChunk);

    const std::size_t list = riff.open("LIST");
    riff.id("adtl");
    for (std::size_t i = 0; i < cues.size(); ++i) {
        const std::size_t label = riff.open("labl");
        riff.u32(static_cast<std::uint32_t>(i + 1));
        riff.bytes += cues[i].name;
        riff.bytes.push_back('\0');
        riff.close(label);
    }
    riff.close(list);
    riff.close(riffBody);

    std::ofstream out(path, std::ios::binary);
    out.write(riff.bytes.data(), static_cast<std::streamsize>(riff.bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}
