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
#include <string>
#include <vector>

#include "capture/FrameSink.h"
#include "capture/FrameWriter.h"
#include "show/FrameRate.h"

struct OutputKind;
namespace platform {
class ChildProcess;
}

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

class VideoEncoder : public FrameSink {
public:
    // Starts ffmpeg (at `ffmpeg`); the caller has checked the output can be written.
    VideoEncoder(const std::string& ffmpeg, const EncoderSettings& settings);
    // Stops ffmpeg if it still runs and removes every temporary file.
    ~VideoEncoder() override;
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // A buffer for the next drawn frame: BGRA pixels, supersample times the
    // video's width and height, bottom row first, as OpenGL reads them.
    // Waits while every buffer is in flight.
    std::uint8_t* nextBuffer() override;
    // Sends the buffer last handed out: the capture's show frame `frame`, to
    // be shown `repeats` times (FrameWriter::submit).
    void submit(std::uint64_t frame, std::uint64_t repeats) override;

    std::uint64_t framesWritten() const override;
    // Throws CaptureError when ffmpeg stopped taking frames.
    void checkHealth() const override;

    // Waits for every frame to be encoded, adds the sound, the title, the
    // span and the chapters, and moves the finished file to the output path.
    // Throws CaptureError.
    void finish(const CapturedSound& sound, const VideoMetadata& metadata) override;

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
