// The sound layer's calls, whichever output plays: they set what the stream
// should do, and the output (a device, or the show's clock) carries it out.
#include "audio/AudioStream.h"

#include <algorithm>
#include <vector>

#include "audio/AudioStreamState.h"
#include "audio/DeviceOutput.h"
#include "audio/WavFile.h"

namespace audio {
namespace {

// Decoded before a stream opens: playback can start on it at once while a
// thread decodes the rest, many times faster than it is played.
constexpr std::uint32_t kDecodedAtOpenMs = 2000;

SoundOutput output = SoundOutput::Device;

std::vector<std::uint32_t> cueFrames(const std::vector<WavCue>& cues) {
    std::vector<std::uint32_t> frames;
    frames.reserve(cues.size());
    for (const WavCue& cue : cues) frames.push_back(cue.frame);
    return frames;
}

}  // namespace

void setSoundOutput(SoundOutput newOutput) { output = newOutput; }

SoundOutput soundOutput() { return output; }

void initSound() {
    if (output == SoundOutput::Device) device::startDriver();
}

void quitSound() { device::stopDriver(); }

AudioStream* openStream(const std::string& path, bool loop) { return openStreamOn(output, path, loop); }

AudioStream* openStreamOn(SoundOutput output, const std::string& path, bool loop) {
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

    stream->offline = output == SoundOutput::Offline;
    stream->ownClock = stream->offline;
    if (output == SoundOutput::Device) {
        device::startDriver();
        device::openDevice(*stream);
    }
    openStreams().push_back(stream);
    return stream;
}

void closeStream(AudioStream* stream) {
    if (stream == nullptr) return;
    device::closeDevice(*stream);
    std::vector<AudioStream*>& streams = openStreams();
    streams.erase(std::remove(streams.begin(), streams.end(), stream), streams.end());
    delete stream;
}

void setStreamSyncCallback(AudioStream* stream, SyncCallback callback) {
    if (stream != nullptr) stream->sync.store(callback);
}

int playStream(AudioStream* stream) {
    if (stream == nullptr) return -1;
    if (stream->offline) {
        stream->paused = false;
        return 0;
    }
    if (stream->device == 0) return -1;
    stream->paused = false;
    device::applyPause(*stream);
    return static_cast<int>(stream->device);
}

void setStreamPaused(AudioStream* stream, bool paused) {
    if (stream == nullptr) return;
    stream->paused = paused;
    device::applyPause(*stream);
}

void setStreamVolume(AudioStream* stream, int volume) {
    if (stream != nullptr) stream->volume.store(std::clamp(volume, 0, 255));
}

void stopStream(AudioStream* stream) {
    if (stream == nullptr) return;
    setStreamPaused(stream, true);
    device::DeviceLock lock(stream->device);
    stream->position = 0;
    stream->finished = false;
}

StreamPosition streamPosition(const AudioStream* stream) {
    if (stream == nullptr) return {};
    device::DeviceLock lock(stream->device);
    return {stream->position, stream->finished, stream->framesPlayed.load(), stream->offlineMs};
}

void setStreamPosition(AudioStream* stream, const StreamPosition& position) {
    if (stream == nullptr) return;
    device::DeviceLock lock(stream->device);
    stream->position = position.frame;
    stream->finished = position.finished;
    stream->framesPlayed.store(position.framesPlayed);
    stream->offlineMs = position.offlineMs;
}

const WavSound* streamSound(const AudioStream* stream) { return stream != nullptr ? &stream->track->whole() : nullptr; }

std::uint64_t streamFramesPlayed(const AudioStream* stream) {
    return stream != nullptr ? stream->framesPlayed.load() : 0;
}

std::uint32_t streamLength(const AudioStream* stream) {
    return stream != nullptr ? stream->track->whole().frames() : 0;
}

int streamSampleRate(const AudioStream* stream) { return stream != nullptr ? stream->track->sampleRate() : 0; }

}  // namespace audio
