#include "music/Music.h"

#include <cstdio>
#include <string>

#include "audio/AudioStream.h"
#include "music/SyncTag.h"
#include "platform/DataPath.h"
#include "platform/FatalExit.h"

namespace {

// The sound layer is started once per process, by whichever Music comes first.
bool soundReady = false;

}  // namespace

Music::Music(const char* fileName, std::int32_t volume) { open(fileName, volume, true); }

Music::Music(const char* fileName, std::int32_t volume, bool loop, bool stereo, std::int32_t bits) {
    (void)stereo;
    if (bits != 8 && bits != 16) {
        const char* message =
            loop ? "bits should be either 16,or 8, you choosed " : "bits should be either 16, or 8, you choosed ";
        platform::fatalExit(message + std::to_string(bits) + "\n");
    }
    open(fileName, volume, loop);
}

Music::~Music() {
    if (stream != nullptr) audio::closeStream(stream);
}

void Music::open(const char* fileName, std::int32_t newVolume, bool loop) {
    const std::string path = platform::resolveDataPath(fileName);
    // A missing file is reported before the sound device is looked for.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) platform::fatalExit(std::string("no such file ") + fileName + " exiting\n");
    std::fclose(file);

    channel = kNoChannel;
    if (!soundReady) {
        audio::initSound();
        soundReady = true;
    }
    stream = audio::openStream(path, loop);
    // A track that cannot be decoded would never pass a cue, and the show
    // would wait in its first section for ever: it is as good as missing.
    if (stream == nullptr) platform::fatalExit(std::string("no such file ") + fileName + " exiting\n");
    volume = static_cast<float>(newVolume);
}

void Music::setSyncCallback() { audio::setStreamSyncCallback(stream, syncCallback); }

void Music::play() {
    if (channel == kNoChannel) {
        playing = true;
        channel = audio::playStream(stream);
        audio::setStreamVolume(stream, static_cast<int>(volume));
    } else {
        audio::setStreamPaused(stream, false);
        playing = true;
    }
}

void Music::pause() {
    audio::setStreamPaused(stream, true);
    playing = false;
}

void Music::stop() {
    audio::stopStream(stream);
    playing = false;
}

void Music::setVolume(float newVolume) {
    volume = newVolume;
    if (channel != kNoChannel) audio::setStreamVolume(stream, static_cast<int>(volume));
}

void Music::reopen(const char* fileName) {
    if (stream != nullptr) audio::closeStream(stream);
    stream = audio::openStream(platform::resolveDataPath(fileName), true);
    channel = kNoChannel;
}

const char* Music::getTag() { return showSyncTag().take(); }

void Music::syncCallback(const char* name) { showSyncTag().post(name); }
