// The sound layer on SDL2's audio subsystem: one audio device per stream,
// fed by a callback that copies from the decoded samples; or, offline, no
// device and the same playback stepped by the show's clock.
#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "platform/AudioStream.h"
#include "platform/CueScheduler.h"
#include "platform/StreamingTrack.h"
#include "platform/WavFile.h"

namespace platform {

class AudioStream {
public:
    // The decoding thread first: it may still be writing wholeScheduler.
    ~AudioStream() { track.reset(); }

    std::unique_ptr<StreamingTrack> track;
    int channels = 0;
    // Over the frames the header promises while the track is decoded, then
    // over those it really has: cues past the end sit on the last frame.
    CueScheduler scheduler;
    CueScheduler wholeScheduler;  // written before the track says it is whole
    bool loop = true;

    SDL_AudioDeviceID device = 0;
    bool paused = true;  // as last asked by the main thread

    // Touched by the audio callback; from the main thread only with the device locked.
    std::uint32_t position = 0;
    bool finished = false;

    std::atomic<int> volume{255};
    std::atomic<SyncCallback> sync{nullptr};
    std::atomic<std::uint64_t> framesPlayed{0};

    // No device paces it (the offline output, or its device went away):
    // advanceOfflineStreams() moves it, from the time played so far.
    bool ownClock = false;
    std::uint64_t offlineMs = 0;
    const std::function<void(const char*)>* passed = nullptr;
};

namespace {

// 512 frames per callback (11.6 ms at 44.1 kHz): a cue reaches the sync
// callback at most one such buffer before its sample is heard.
constexpr Uint16 kBufferFrames = 512;

// Decoded before a stream opens: playback can start on it at once while a
// thread decodes the rest, many times faster than it is played.
constexpr std::uint32_t kDecodedAtOpenMs = 2000;

std::vector<AudioStream*> openStreams;
SoundOutput output = SoundOutput::Device;

// Plays `wanted` frames from the stream's position: the cues they pass go to
// the sync callback as the buffer that holds their samples is handed over,
// and the samples (scaled to the volume) go to `out` when there is one, with
// silence after a one-shot stream has ended. The device's callback and the
// offline clock both play through here, so both deliver the same cues.
void playFrames(AudioStream& stream, std::int16_t* out, std::uint32_t wanted) {
    const std::size_t channels = static_cast<std::size_t>(stream.channels);
    const StreamingTrack::Progress ready = stream.track->progress();
    const std::uint32_t frames = ready.frames;

    std::uint32_t count = 0;
    if (!ready.whole) {
        // No further than the decoded frames: should playback catch up, it
        // waits in silence rather than skip music, and the cues stay with
        // what is heard.
        count = std::min(wanted, frames - stream.position);
    } else if (frames > 0 && !stream.finished) {
        count = stream.loop ? wanted : std::min(wanted, frames - stream.position);
    }

    if (const SyncCallback sync = stream.sync.load()) {
        const CueScheduler& scheduler = ready.whole ? stream.wholeScheduler : stream.scheduler;
        scheduler.forEachPassed(stream.position, count, [&](std::size_t index) {
            const WavCue& cue = stream.track->cues()[index];
            sync(cue.labelled ? cue.label.c_str() : nullptr);
            if (stream.passed != nullptr) (*stream.passed)(cue.labelled ? cue.label.c_str() : "");
        });
    }

    const int volume = stream.volume.load(std::memory_order_relaxed);
    const std::int16_t* samples = stream.track->samples();
    std::uint32_t position = stream.position;
    std::int16_t* to = out;
    for (std::uint32_t left = count; left > 0;) {
        const std::uint32_t run = std::min(left, frames - position);
        if (to != nullptr) {
            const std::int16_t* from = samples + position * channels;
            if (volume == 255) {
                std::memcpy(to, from, run * channels * sizeof(std::int16_t));
            } else {
                for (std::size_t i = 0; i < run * channels; ++i) {
                    to[i] = static_cast<std::int16_t>(from[i] * volume / 255);
                }
            }
            to += run * channels;
        }
        left -= run;
        position += run;
        if (ready.whole && position == frames) {
            position = 0;
            if (!stream.loop) stream.finished = true;
        }
    }
    if (to != nullptr) std::fill(to, out + static_cast<std::size_t>(wanted) * channels, std::int16_t{0});
    stream.position = position;
    stream.framesPlayed.fetch_add(count, std::memory_order_relaxed);
}

std::vector<std::uint32_t> cueFrames(const std::vector<WavCue>& cues) {
    std::vector<std::uint32_t> frames;
    frames.reserve(cues.size());
    for (const WavCue& cue : cues) frames.push_back(cue.frame);
    return frames;
}

void SDLCALL fillBuffer(void* user, Uint8* bytes, int length) {
    AudioStream& stream = *static_cast<AudioStream*>(user);
    const std::size_t frameBytes = sizeof(std::int16_t) * static_cast<std::size_t>(stream.channels);
    playFrames(stream, reinterpret_cast<std::int16_t*>(bytes),
               static_cast<std::uint32_t>(static_cast<std::size_t>(length) / frameBytes));
}

SDL_AudioDeviceID openDevice(AudioStream& stream) {
    SDL_AudioSpec want{};
    want.freq = stream.track->sampleRate();
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(stream.channels);
    want.samples = kBufferFrames;
    want.callback = fillBuffer;
    want.userdata = &stream;
    // No changes allowed: SDL converts to whatever the hardware takes, and the
    // callback keeps working in the file's own frames, where the cues are.
    return SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
}

void applyPause(const AudioStream& stream) {
    if (stream.device != 0) SDL_PauseAudioDevice(stream.device, stream.paused ? 1 : 0);
}

extern "C" void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// libasound reports each step of a failed open on standard error: screens of
// it on a machine without a sound card, before SDL gives up on the driver.
// SDL's results say all the show needs, so its reports go nowhere. Loaded
// here rather than linked, as SDL does, so a machine without it still runs;
// left loaded, so that SDL finds the same library with the handler in place.
void silenceAlsa() {
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr) return;
    if (void* setHandler = dlsym(alsa, "snd_lib_error_set_handler")) {
        reinterpret_cast<int (*)(ErrorHandler)>(setHandler)(ignoreAlsaError);
    }
}

// The silent dummy driver, which still pulls buffers in real time, in place
// of a device that will not open; the user hears nothing, and is told why.
void startDummyDriver() {
    std::fputs("no sound device: playing silently\n", stderr);
    SDL_AudioInit("dummy");
}

// No device opens (no sound card, no sound server): carry on with the dummy
// driver. Restarting the subsystem closes every device, so the other open
// streams move along.
void fallBackToDummyDriver() {
    SDL_AudioQuit();
    startDummyDriver();
    for (AudioStream* other : openStreams) {
        other->device = openDevice(*other);
        applyPause(*other);
    }
}

// The device stopped pulling while the stream played (a headset unplugged, a
// sound server restarted): from where it had got to, the stream plays on
// silently on the show's clock, so the cues keep coming.
void carryOnWithoutDevice(AudioStream& stream) {
    SDL_CloseAudioDevice(stream.device);  // also waits for its last callback
    stream.device = 0;
    stream.ownClock = true;
    stream.offlineMs = 0;
    std::fputs("sound device lost: playing on silently\n", stderr);
}

class DeviceLock {
public:
    explicit DeviceLock(SDL_AudioDeviceID device) : device(device) {
        if (device != 0) SDL_LockAudioDevice(device);
    }
    ~DeviceLock() {
        if (device != 0) SDL_UnlockAudioDevice(device);
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID device;
};

}  // namespace

void setSoundOutput(SoundOutput newOutput) { output = newOutput; }

void initSound() {
    if (output == SoundOutput::Offline || SDL_GetCurrentAudioDriver() != nullptr) return;
    silenceAlsa();
    if (SDL_AudioInit(nullptr) != 0) startDummyDriver();
}

void quitSound() {
    SDL_AudioQuit();
    for (AudioStream* stream : openStreams) stream->device = 0;
}

AudioStream* openStream(const std::string& path, bool loop) {
    auto* stream = new AudioStream;
    stream->track = StreamingTrack::open(path, kDecodedAtOpenMs, [stream](const WavSound& whole) {
        stream->wholeScheduler = CueScheduler(cueFrames(whole.cues), whole.frames());
    });
    if (stream->track == nullptr) {
        delete stream;
        return nullptr;
    }
    stream->channels = stream->track->channels();
    stream->scheduler = CueScheduler(cueFrames(stream->track->cues()), stream->track->promisedFrames());
    stream->loop = loop;
    // Offline playback runs on the show's clock, however fast it is drawn,
    // and hands the whole track out: it takes the track whole from the start.
    if (output == SoundOutput::Offline) stream->track->whole();

    stream->ownClock = output == SoundOutput::Offline;
    if (output == SoundOutput::Device) {
        stream->device = openDevice(*stream);
        if (stream->device == 0 && SDL_GetCurrentAudioDriver() != nullptr &&
            std::strcmp(SDL_GetCurrentAudioDriver(), "dummy") != 0) {
            fallBackToDummyDriver();
            stream->device = openDevice(*stream);
        }
    }
    openStreams.push_back(stream);
    return stream;
}

void closeStream(AudioStream* stream) {
    if (stream == nullptr) return;
    if (stream->device != 0) SDL_CloseAudioDevice(stream->device);
    openStreams.erase(std::remove(openStreams.begin(), openStreams.end(), stream), openStreams.end());
    delete stream;
}

void setStreamSyncCallback(AudioStream* stream, SyncCallback callback) {
    if (stream != nullptr) stream->sync.store(callback);
}

int playStream(AudioStream* stream) {
    if (stream == nullptr) return -1;
    if (output == SoundOutput::Offline) {
        stream->paused = false;
        return 0;
    }
    if (stream->device == 0) return -1;
    stream->paused = false;
    applyPause(*stream);
    return static_cast<int>(stream->device);
}

void setStreamPaused(AudioStream* stream, bool paused) {
    if (stream == nullptr) return;
    stream->paused = paused;
    applyPause(*stream);
}

void setStreamVolume(AudioStream* stream, int volume) {
    if (stream != nullptr) stream->volume.store(std::clamp(volume, 0, 255));
}

void stopStream(AudioStream* stream) {
    if (stream == nullptr) return;
    setStreamPaused(stream, true);
    DeviceLock lock(stream->device);
    stream->position = 0;
    stream->finished = false;
}

void advanceOfflineStreams(std::uint32_t milliseconds, const std::function<void(const char*)>& passed) {
    for (AudioStream* stream : openStreams) {
        if (stream->device != 0 && !stream->paused && SDL_GetAudioDeviceStatus(stream->device) == SDL_AUDIO_STOPPED) {
            carryOnWithoutDevice(*stream);
        }
        if (!stream->ownClock || stream->paused) continue;
        const auto rate = static_cast<std::uint64_t>(stream->track->sampleRate());
        const std::uint64_t before = stream->offlineMs * rate / 1000;
        stream->offlineMs += milliseconds;
        const std::uint64_t after = stream->offlineMs * rate / 1000;
        stream->passed = passed ? &passed : nullptr;
        playFrames(*stream, nullptr, static_cast<std::uint32_t>(after - before));
        stream->passed = nullptr;
    }
}

const WavSound* streamSound(const AudioStream* stream) { return stream != nullptr ? &stream->track->whole() : nullptr; }

std::uint64_t streamFramesPlayed(const AudioStream* stream) {
    return stream != nullptr ? stream->framesPlayed.load() : 0;
}

std::uint32_t streamLength(const AudioStream* stream) {
    return stream != nullptr ? stream->track->whole().frames() : 0;
}

int streamSampleRate(const AudioStream* stream) { return stream != nullptr ? stream->track->sampleRate() : 0; }

}  // namespace platform
