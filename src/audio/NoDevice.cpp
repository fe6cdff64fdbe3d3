// The browser's device output: there is none. Every stream moves on the
// show's clock (the offline output); what the user hears the page plays
// itself, from a compressed copy of the track, and the show follows it.
#include "audio/DeviceOutput.h"

namespace audio::device {

void startDriver() {}
void stopDriver() {}

void openDevice(AudioStream& stream) {
    stream.device = 0;
    stream.ownClock = true;
}

void closeDevice(AudioStream& stream) { stream.device = 0; }
void applyPause(const AudioStream&) {}
void letGoOfStoppedDevice(AudioStream&) {}

DeviceLock::DeviceLock(DeviceId device) : device(device) {}
DeviceLock::~DeviceLock() = default;

}  // namespace audio::device
