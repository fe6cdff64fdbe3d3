// The desktop's device output: SDL2's audio subsystem.
#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "audio/DeviceOutput.h"

namespace audio::device {
namespace {

// 512 frames per callback (11.6 ms at 44.1 kHz): a cue reaches the sync
// callback at most one such buffer before its sample is heard.
constexpr Uint16 kBufferFrames = 512;

void SDLCALL fillBuffer(void* user, Uint8* bytes, int length) {
    AudioStream& stream = *static_cast<AudioStream*>(user);
    const std::size_t frameBytes = sizeof(std::int16_t) * static_cast<std::size_t>(stream.channels);
    playFrames(stream, reinterpret_cast<std::int16_t*>(bytes),
               static_cast<std::uint32_t>(static_cast<std::size_t>(length) / frameBytes));
}

SDL_AudioDeviceID deviceFor(AudioStream& stream) {
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

// Restarting the subsystem closes every device, so the other open streams
// move along.
void fallBackToDummyDriver() {
    SDL_AudioQuit();
    startDummyDriver();
    for (AudioStream* other : openStreams()) {
        other->device = deviceFor(*other);
        applyPause(*other);
    }
}

}  // namespace

void startDriver() {
    if (SDL_GetCurrentAudioDriver() != nullptr) return;
    silenceAlsa();
    if (SDL_AudioInit(nullptr) != 0) startDummyDriver();
}

void stopDriver() {
    SDL_AudioQuit();
    for (AudioStream* stream : openStreams()) stream->device = 0;
}

void openDevice(AudioStream& stream) {
    stream.device = deviceFor(stream);
    if (stream.device == 0 && SDL_GetCurrentAudioDriver() != nullptr &&
        std::strcmp(SDL_GetCurrentAudioDriver(), "dummy") != 0) {
        fallBackToDummyDriver();
        stream.device = deviceFor(stream);
    }
}

void closeDevice(AudioStream& stream) {
    if (stream.device != 0) SDL_CloseAudioDevice(stream.device);
    stream.device = 0;
}

void applyPause(const AudioStream& stream) {
    if (stream.device != 0) SDL_PauseAudioDevice(stream.device, stream.paused ? 1 : 0);
}

void letGoOfStoppedDevice(AudioStream& stream) {
    if (stream.device == 0 || stream.paused || SDL_GetAudioDeviceStatus(stream.device) != SDL_AUDIO_STOPPED) return;
    SDL_CloseAudioDevice(stream.device);  // also waits for its last callback
    stream.device = 0;
    stream.ownClock = true;
    stream.offlineMs = 0;
    std::fputs("sound device lost: playing on silently\n", stderr);
}

DeviceLock::DeviceLock(DeviceId device) : device(device) {
    if (device != 0) SDL_LockAudioDevice(device);
}

DeviceLock::~DeviceLock() {
    if (device != 0) SDL_UnlockAudioDevice(device);
}

}  // namespace audio::device
