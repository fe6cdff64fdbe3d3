// Turns the show's frames into a video file with the track's sound, through
// the ffmpeg program. Frames go to ffmpeg through a pipe as they are read
// back, from a small ring of buffers, so that ffmpeg encodes one frame in
// its own threads while the next one is drawn. The sound is added once the
// captured span is known. Nothing appears at the output path until the video
// is complete: the work goes to temporary files that are removed whatever
// happens.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "capture/FrameWriter.h"
#include "show/FrameRate.h"

struct OutputKind;
namespace platform {
class ChildProcess;
}

// A capture that cannot go on; the message is one line for the user.
class CaptureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the video is to be: where it goes, its kind and picture.
struct EncoderSettings {
    std::string file;
    const OutputKind* kind = nullptr;
    int width = 0;
    int height = 0;
    FrameRate fps;
    bool lossless = false;  // every pixel kept
    FrameShaping shaping;   // from drawn frames to video frames
};

struct CapturedSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;  // interleaved
};

class VideoEncoder {
public:
    // Starts ffmpeg (at `ffmpeg`); the caller has checked the output can be written.
    VideoEncoder(const std::string& ffmpeg, const EncoderSettings& settings);
    // Stops ffmpeg if it still runs and removes every temporary file.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // A buffer for the next drawn frame: BGRA pixels, supersample times the
    // video's width and height, bottom row first, as OpenGL reads them.
    // Waits while every buffer is in flight.
    std::uint8_t* nextBuffer();
    // Sends the buffer last handed out: the capture's show frame `frame`, to
    // be shown `repeats` times (FrameWriter::submit).
    void submit(std::uint64_t frame, std::uint64_t repeats);

    std::uint64_t framesWritten() const;
    // Throws CaptureError when ffmpeg stopped taking frames.
    void checkHealth() const;

    // Waits for every frame to be encoded, adds the sound and moves the
    // finished file to the output path. Throws CaptureError.
    void finish(const CapturedSound& sound);

private:
    std::string failure(const std::string& what) const;

    const EncoderSettings settings_;
    const std::string ffmpeg_;
    const std::string partialPath_;  // beside the output, made here, renamed into place at the end
    const std::string videoPath_;    // temporary: the picture alone
    const std::string soundPath_;    // temporary: the captured span of the track
    const std::string logPath_;      // temporary: what ffmpeg says
    std::unique_ptr<platform::ChildProcess> process_;
    std::unique_ptr<FrameWriter> writer_;  // feeds process_, so goes first
};
