#include "audio/StreamingTrack.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <thread>

#include "audio/CueSheet.h"

namespace audio {

namespace {

constexpr std::uint32_t kBlockFrames = 4096;
constexpr std::uint64_t kWholeBit = std::uint64_t{1} << 32;

}  // namespace

// The file's bytes: mapped, so that opening a long track reads only its
// header and cue chunks and the decoding thread pages in the rest; read into
// memory where the file cannot be mapped.
struct StreamingTrack::Bytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    void* mapping = nullptr;
    std::vector<unsigned char> copy;

    ~Bytes() {
        if (mapping != nullptr) ::munmap(mapping, size);
    }

    bool read(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
            void* mapped = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (mapped != MAP_FAILED) {
                mapping = mapped;
                size = static_cast<std::size_t>(info.st_size);
                data = static_cast<const unsigned char*>(mapped);
                ::close(fd);
                return true;
            }
        }
        unsigned char chunk[65536];
        ssize_t got = 0;
        while ((got = ::read(fd, chunk, sizeof chunk)) > 0) copy.insert(copy.end(), chunk, chunk + got);
        ::close(fd);
        if (got < 0) return false;
        data = copy.data();
        size = copy.size();
        return true;
    }
};

StreamingTrack::StreamingTrack() = default;

std::unique_ptr<StreamingTrack> StreamingTrack::open(const std::string& path, std::uint32_t firstMs,
                                                     WholeHook whenWhole) {
    std::unique_ptr<StreamingTrack> track(new StreamingTrack);
    track->bytes = std::make_unique<Bytes>();
    if (!track->bytes->read(path)) return nullptr;
    if (looksLikeCueSheet(track->bytes->data, track->bytes->size)) return openCueSheet(std::move(track), whenWhole);
    track->reader = WavReader::open(track->bytes->data, track->bytes->size);
    if (track->reader == nullptr) return nullptr;

    WavSound& sound = track->sound;
    sound.sampleRate = track->reader->sampleRate();
    sound.channels = std::min(track->reader->channels(), 2);
    sound.cues = track->reader->cues();
    track->capacity = track->reader->promisedFrames();
    // Reserved once, so the samples never move while another thread reads them.
    sound.samples.reserve(static_cast<std::size_t>(track->capacity) * static_cast<std::size_t>(sound.channels));
    track->base = sound.samples.data();
    track->block.resize(static_cast<std::size_t>(kBlockFrames) * static_cast<std::size_t>(track->reader->channels()));
    track->whenWhole = std::move(whenWhole);

    const std::uint64_t firstFrames = static_cast<std::uint64_t>(sound.sampleRate) * firstMs / 1000;
    const auto limit = static_cast<std::uint32_t>(std::min<std::uint64_t>(firstFrames, track->capacity));
    if (track->decodeUntil(limit)) {
        track->finish();
    } else {
        std::promise<void> done;
        track->decoderDone = done.get_future();
        std::thread([self = track.get(), done = std::move(done)]() mutable {
            if (self->decodeUntil(std::numeric_limits<std::uint32_t>::max())) self->finish();
            done.set_value();
        }).detach();
    }
    return track;
}

// A cue sheet is the whole track at once, its sound silence.
std::unique_ptr<StreamingTrack> StreamingTrack::openCueSheet(std::unique_ptr<StreamingTrack> track,
                                                             const WholeHook& whenWhole) {
    const std::optional<CueSheet> sheet =
        readCueSheet(std::string(reinterpret_cast<const char*>(track->bytes->data), track->bytes->size));
    if (!sheet) return nullptr;
    WavSound& sound = track->sound;
    sound.sampleRate = sheet->sampleRate;
    sound.channels = std::min(sheet->channels, 2);
    sound.cues = sheet->cues;
    sound.samples.assign(static_cast<std::size_t>(sheet->frames) * static_cast<std::size_t>(sound.channels), 0);
    track->base = sound.samples.data();
    track->capacity = sheet->frames;
    track->decoded = sheet->frames;
    track->whenWhole = whenWhole;
    track->finish();
    return track;
}

StreamingTrack::~StreamingTrack() {
    stopping.store(true, std::memory_order_relaxed);
    if (decoderDone.valid()) decoderDone.wait();
}

StreamingTrack::Progress StreamingTrack::progress() const {
    const std::uint64_t now = published.load(std::memory_order_acquire);
    return {static_cast<std::uint32_t>(now), (now & kWholeBit) != 0};
}

const WavSound& StreamingTrack::whole() {
    if (decoderDone.valid()) decoderDone.wait();
    return sound;
}

bool StreamingTrack::decodeUntil(std::uint32_t limit) {
    const std::size_t from = static_cast<std::size_t>(reader->channels());
    const std::size_t kept = static_cast<std::size_t>(sound.channels);
    while (decoded < limit) {
        if (stopping.load(std::memory_order_relaxed)) return false;
        // Frames past the header's promise would not fit the reserved
        // samples; the track ends there.
        const std::uint32_t room = std::min(kBlockFrames, capacity - decoded);
        const std::uint32_t got = room > 0 ? reader->read(block.data(), room) : 0;
        if (got == 0) return true;
        // Only what came before this block: the last frames are handed out
        // together with the news that they are the last.
        publish(decoded, false);
        const std::size_t at = sound.samples.size();
        sound.samples.resize(at + got * kept);
        std::int16_t* to = sound.samples.data() + at;
        if (from == kept) {
            std::memcpy(to, block.data(), got * kept * sizeof(std::int16_t));
        } else {
            for (std::size_t f = 0; f < got; ++f) {
                for (std::size_t c = 0; c < kept; ++c) to[f * kept + c] = block[f * from + c];
            }
        }
        decoded += got;
    }
    return false;
}

void StreamingTrack::finish() {
    reader.reset();
    bytes.reset();
    if (whenWhole) whenWhole(sound);
    publish(decoded, true);
}

void StreamingTrack::publish(std::uint32_t frames, bool whole) {
    published.store(frames | (whole ? kWholeBit : 0), std::memory_order_release);
}

}  // namespace audio
