// The device output: one device per stream, fed on the device's own thread
// through the stream's playback. Two backends: SDL2 on the desktop
// (SdlDevice.cpp), where, when no device opens (no sound card, no sound
// server), the silent dummy driver takes over, which still pulls buffers in
// real time, so the cues keep coming; and the browser's (NoDevice.cpp), which
// has no device at all: every stream moves on the show's clock and the page
// plays the sound itself.
#pragma once

#include "audio/AudioStreamState.h"

namespace audio::device {

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
    explicit DeviceLock(DeviceId device);
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    DeviceId device;
};

}  // namespace audio::device
