// The show's clock: one streamed music file whose cue points, as playback
// passes them, become the pending sync tag that the running scene reads once
// per frame. The sound itself is left to the platform's sound layer.
#pragma once

#include <cstdint>

namespace audio {
class AudioStream;
}

class Music {
public:
    // Ends the process with "no such file <name> exiting" when the file
    // cannot be opened or decoded. Opens the stream looping; nothing plays until play().
    Music(const char* fileName, std::int32_t volume);
    // Also takes the loop flag, and the sample layout, which only 8 or 16 bits
    // may have; the file's own format decides what is played.
    Music(const char* fileName, std::int32_t volume, bool loop, bool stereo, std::int32_t bits);
    // Closes the stream: its device and its decoding stop here.
    ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    void setSyncCallback();
    // Starts playback the first time, resumes it on later calls.
    void play();
    void pause();
    void stop();
    void setVolume(float newVolume);
    // Closes the stream and opens another file, looping, not yet started.
    void reopen(const char* fileName);

    // The name of the cue point passed since the previous call, or "". The
    // call consumes it; the text stays valid until the next call.
    static const char* getTag();

    // Never started: the channel before the first play().
    static constexpr std::int32_t kNoChannel = 66;

    audio::AudioStream* getStream() const { return stream; }
    std::int32_t getChannel() const { return channel; }
    float getVolume() const { return volume; }
    bool isPlaying() const { return playing; }

private:
    // What the sound layer calls on its own thread for each cue passed.
    static void syncCallback(const char* name);
    void open(const char* fileName, std::int32_t volume, bool loop);

    audio::AudioStream* stream = nullptr;
    std::int32_t channel = kNoChannel;
    float volume = 0.0f;
    bool playing = false;
};
