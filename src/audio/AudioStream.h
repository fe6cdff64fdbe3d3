// The sound layer: the least the music needs from a sound library. A stream
// is one WAV file, played from memory on its own output device: its start is
// decoded at open, the rest meanwhile on a thread of the stream's own.
// Whenever playback passes one of the file's cue points, the sync callback
// gets the cue's name on the audio thread. When no device can be opened the
// layer falls back to a silent driver that still plays in real time, so the
// cues keep coming on a machine without sound. The offline output opens no
// device at all: streams move only when the show's own clock advances them,
// and their cues arrive on the caller's thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct WavSound;

namespace audio {

class AudioStream;

enum class SoundOutput {
    Device,   // an SDL output device per stream, paced by the sound card
    Offline,  // no device; advanceOfflineStreams() moves every started stream
};

// Chooses where streams play. Set it before the first stream is opened.
void setSoundOutput(SoundOutput output);

// Runs on the audio thread, once for every cue point passed, in the order
// playback meets them. `name` is the cue's label, or null when it has none.
using SyncCallback = void (*)(const char* name);

// Starts the audio subsystem unless it runs already: SDL's own choice of
// driver (SDL_AUDIODRIVER picks one), or the silent dummy driver when none
// starts. Falling back to it, here or when a stream's device will not open,
// writes one line on standard error and nothing else.
void initSound();

// Shuts the audio subsystem down and silences every open stream (they stay
// valid but play nothing until closed). The show never calls it; tests do,
// to start each case on the driver they choose.
void quitSound();

// Opens the file at `path` (a real path), decodes its start and opens a
// paused output for it; the rest is decoded meanwhile (offline: before this
// returns). Null when the file cannot be decoded. A looping stream starts
// again from its first frame when it reaches the end; another one stops there.
AudioStream* openStream(const std::string& path, bool loop);
// The same on the output named, whatever setSoundOutput chose: a player
// that steps the show offline can still let the user hear it on a device.
AudioStream* openStreamOn(SoundOutput output, const std::string& path, bool loop);

// Stops the output and frees the stream. Null is ignored.
void closeStream(AudioStream* stream);

void setStreamSyncCallback(AudioStream* stream, SyncCallback callback);

// Starts or resumes playback where it stands. Returns the channel it plays
// on, or -1 when there is no stream or no output.
int playStream(AudioStream* stream);

void setStreamPaused(AudioStream* stream, bool paused);

// 0 (silent) to 255 (the file as it is); values outside are clamped.
void setStreamVolume(AudioStream* stream, int volume);

// Pauses and rewinds to the first frame.
void stopStream(AudioStream* stream);

// Plays `milliseconds` more of every started stream that has no device to
// pace it (the offline output, or a device that went away, which this call
// notices), exactly as a device would have played them, the sync callbacks
// included, on the caller's thread. Each
// stream's position is kept as floor(total time * rate / 1000), so steps of
// any length add up without drift. `passed` (when set) hears every cue
// crossed, by name ("" for an unlabelled one), after the sync callback.
void advanceOfflineStreams(std::uint32_t milliseconds, const std::function<void(const char* name)>& passed = {});

// The decoded track behind a stream: its samples and its cue points, once
// the whole track is decoded (this waits for it). Null for no stream.
const WavSound* streamSound(const AudioStream* stream);

// Where playback stands: the next frame of the track to play, whether a
// one-shot stream has ended, the frames handed out so far and, without a
// device, the time played. Setting it moves playback there at once (a
// device's next buffer starts there); a show state carries it.
struct StreamPosition {
    std::uint32_t frame = 0;
    bool finished = false;
    std::uint64_t framesPlayed = 0;
    std::uint64_t offlineMs = 0;
};
StreamPosition streamPosition(const AudioStream* stream);
void setStreamPosition(AudioStream* stream, const StreamPosition& position);

// Frames handed to the output since the stream was opened, over every pass.
std::uint64_t streamFramesPlayed(const AudioStream* stream);

// Frames in one pass of the stream (once decoded whole: this waits for it),
// and its rate (0 for no stream).
std::uint32_t streamLength(const AudioStream* stream);
int streamSampleRate(const AudioStream* stream);

}  // namespace audio
