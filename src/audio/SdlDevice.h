// The device output on SDL2's audio subsystem: one device per stream, fed by
// SDL's audio thread through the stream's own playback. When no device opens
// (no sound card, no sound server) the silent dummy driver takes over, which
// still pulls buffers in real time, so the cues keep coming.
#pragma once

#include <SDL2/SDL.h>

#include "audio/AudioStreamState.h"

namespace audio::sdl {

// SDL's own choice of driver (SDL_AUDIODRIVER picks one), or the dummy one.
void startDriver();
// Shuts the subsystem down; every stream is left without a device.
void stopDriver();

// Gives the stream a paused device, on the dummy driver if need be.
void openDevice(AudioStream& stream);
void closeDevice(AudioStream& stream);
// Plays or pauses the device as the stream was last asked to.
void applyPause(const AudioStream& stream);
// A device that stopped pulling while its stream played (a headset
// unplugged, a sound server restarted) is let go: the stream plays on
// silently on the show's clock from where it had got to.
void letGoOfStoppedDevice(AudioStream& stream);

// Holds the device's callback off while the stream's position changes.
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

}  // namespace audio::sdl
