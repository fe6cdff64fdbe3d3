// Puts the sound layer on a chosen SDL driver for the length of a test:
// "dummy" (silent, real time) or "disk", which writes everything played to
// a file, optionally faster than real time. The sound layer is restarted on
// entry and shut down on exit, so every test starts from a fresh subsystem.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/AudioStream.h"

namespace testsupport {

class AudioDriver {
public:
    explicit AudioDriver(const char* driver, const std::string& diskFile = "", int diskDelayMs = -1) {
        ::setenv("SDL_AUDIODRIVER", driver, 1);
        if (!diskFile.empty()) ::setenv("SDL_DISKAUDIOFILE", diskFile.c_str(), 1);
        if (diskDelayMs >= 0) ::setenv("SDL_DISKAUDIODELAY", std::to_string(diskDelayMs).c_str(), 1);
        audio::quitSound();
        audio::initSound();
    }
    ~AudioDriver() {
        audio::quitSound();
        ::unsetenv("SDL_AUDIODRIVER");
        ::unsetenv("SDL_DISKAUDIOFILE");
        ::unsetenv("SDL_DISKAUDIODELAY");
    }
    AudioDriver(const AudioDriver&) = delete;
    AudioDriver& operator=(const AudioDriver&) = delete;
};

// The 16-bit samples the disk driver wrote.
inline std::vector<std::int16_t> readDiskOutput(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                               static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return samples;
}

}  // namespace testsupport
