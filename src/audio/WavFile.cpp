#include "audio/WavFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "audio/RiffLabels.h"

namespace {

// libsndfile reads from memory through these.
struct MemoryFile {
    const unsigned char* data;
    sf_count_t size;
    sf_count_t at;
};

sf_count_t memoryLength(void* user) { return static_cast<MemoryFile*>(user)->size; }

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    sf_count_t base = whence == SEEK_CUR ? file->at : whence == SEEK_END ? file->size : 0;
    file->at = std::clamp<sf_count_t>(base + offset, 0, file->size);
    return file->at;
}

sf_count_t memoryRead(void* out, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, file->size - file->at);
    // An empty file has no data pointer at all, and memcpy may not be given null.
    if (n > 0) std::memcpy(out, file->data + file->at, static_cast<std::size_t>(n));
    file->at += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memoryTell(void* user) { return static_cast<MemoryFile*>(user)->at; }

std::int16_t toSample(float value) {
    if (std::isnan(value)) return 0;
    const float scaled = std::clamp(value * 32768.0f, -32768.0f, 32767.0f);
    return static_cast<std::int16_t>(std::lrint(scaled));
}

std::vector<WavCue> readCues(SNDFILE* sound, const unsigned char* data, std::size_t size) {
    std::uint32_t count = 0;
    if (!sf_command(sound, SFC_GET_CUE_COUNT, &count, sizeof count) || count == 0) return {};
    // SF_CUES with room for every point: the count, then the points. The
    // struct declares an array of 100 points and a file may hold more (up to
    // 2500), so the points are copied out of the bytes: indexing the declared
    // array past its 100 would be undefined.
    const std::size_t pointsAt = offsetof(SF_CUES, cue_points);
    std::vector<unsigned char> buffer(pointsAt + count * sizeof(SF_CUE_POINT));
    if (!sf_command(sound, SFC_GET_CUE, buffer.data(), static_cast<int>(buffer.size()))) return {};
    std::uint32_t listed = 0;
    std::memcpy(&listed, buffer.data() + offsetof(SF_CUES, cue_count), sizeof listed);

    const auto labels = readCueLabels(data, size);
    std::vector<WavCue> result;
    for (std::uint32_t i = 0; i < std::min(listed, count); ++i) {
        SF_CUE_POINT point;
        std::memcpy(&point, buffer.data() + pointsAt + i * sizeof(SF_CUE_POINT), sizeof point);
        WavCue cue;
        cue.id = static_cast<std::uint32_t>(point.indx);
        // dwSampleOffset is where the cue sits in the data chunk. dwPosition
        // is its place in a playlist, which writers without one fill in
        // differently (some copy the offset, some leave 0), so it is not used.
        cue.frame = point.sample_offset;
        const auto label = labels.find(cue.id);
        if (label != labels.end()) {
            cue.label = label->second;
            cue.labelled = true;
        }
        result.push_back(std::move(cue));
    }
    return result;
}

}  // namespace

struct WavReader::Source {
    MemoryFile file;
    SNDFILE* sound = nullptr;
};

std::unique_ptr<WavReader> WavReader::open(const unsigned char* data, std::size_t size) {
    std::unique_ptr<WavReader> reader(new WavReader);
    reader->source.reset(new Source{{data, static_cast<sf_count_t>(size), 0}});
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info{};
    reader->source->sound = sf_open_virtual(&io, SFM_READ, &info, &reader->source->file);
    if (reader->source->sound == nullptr || info.channels <= 0 || info.samplerate <= 0) return nullptr;
    reader->rate = info.samplerate;
    reader->channelCount = info.channels;
    const sf_count_t byBytes = static_cast<sf_count_t>(size) / info.channels;
    reader->promised = static_cast<std::uint32_t>(std::clamp<sf_count_t>(
        info.frames, 0, std::min<sf_count_t>(byBytes, std::numeric_limits<std::uint32_t>::max())));
    reader->plain16 = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16;
    return reader;
}

WavReader::~WavReader() {
    if (source != nullptr && source->sound != nullptr) sf_close(source->sound);
}

std::vector<WavCue> WavReader::cues() const {
    return readCues(source->sound, source->file.data, static_cast<std::size_t>(source->file.size));
}

std::uint32_t WavReader::read(std::int16_t* out, std::uint32_t frames) {
    // 16-bit data comes back exactly as stored either way; read as it is,
    // it skips the round trip through floats.
    if (plain16) {
        const sf_count_t got = sf_readf_short(source->sound, out, frames);
        return got > 0 ? static_cast<std::uint32_t>(got) : 0;
    }
    // Read as floats at the common scale (full scale = 1.0, which libsndfile
    // gives every integer format) and round to 16 bits: float data beyond
    // full scale is clipped, not wrapped.
    constexpr std::uint32_t kBlockFrames = 4096;
    std::uint32_t done = 0;
    while (done < frames) {
        const std::uint32_t want = std::min(kBlockFrames, frames - done);
        scratch.resize(static_cast<std::size_t>(want) * static_cast<std::size_t>(channelCount));
        const sf_count_t got = sf_readf_float(source->sound, scratch.data(), want);
        if (got <= 0) break;
        const std::size_t values = static_cast<std::size_t>(got) * static_cast<std::size_t>(channelCount);
        std::int16_t* to = out + static_cast<std::size_t>(done) * static_cast<std::size_t>(channelCount);
        for (std::size_t i = 0; i < values; ++i) to[i] = toSample(scratch[i]);
        done += static_cast<std::uint32_t>(got);
        if (static_cast<std::uint32_t>(got) < want) break;
    }
    return done;
}

std::optional<WavSound> decodeWav(const unsigned char* data, std::size_t size) {
    const std::unique_ptr<WavReader> reader = WavReader::open(data, size);
    if (reader == nullptr) return std::nullopt;

    WavSound wav;
    wav.sampleRate = reader->sampleRate();
    wav.channels = reader->channels();
    const std::size_t channels = static_cast<std::size_t>(wav.channels);
    // The header's frame count may lie: read until the data really ends, and
    // reserve no more samples than there are bytes.
    wav.samples.reserve(static_cast<std::size_t>(reader->promisedFrames()) * channels);
    constexpr std::uint32_t kBlockFrames = 4096;
    std::vector<std::int16_t> block(kBlockFrames * channels);
    const std::uint32_t maxFrames = std::numeric_limits<std::uint32_t>::max();
    for (std::uint32_t total = 0; total < maxFrames;) {
        const std::uint32_t got = reader->read(block.data(), std::min(kBlockFrames, maxFrames - total));
        if (got == 0) break;
        wav.samples.insert(wav.samples.end(), block.begin(),
                           block.begin() + static_cast<std::ptrdiff_t>(got * channels));
        total += got;
    }
    wav.cues = reader->cues();
    return wav;
}

std::optional<WavSound> loadWav(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return decodeWav(bytes.data(), bytes.size());
}

bool saveWav(const std::string& path, int sampleRate, int channels, const std::vector<std::int16_t>& samples) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    const auto count = static_cast<sf_count_t>(samples.size());
    const bool whole = sf_write_short(file, samples.data(), count) == count;
    return sf_close(file) == 0 && whole;
}
