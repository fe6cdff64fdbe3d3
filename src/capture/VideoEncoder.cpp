#include "capture/VideoEncoder.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "audio/WavFile.h"
#include "capture/FrameWriter.h"
#include "platform/ChildProcess.h"

namespace {

std::string temporaryPath(const std::string& what) {
    return (std::filesystem::temp_directory_path() / ("marrowick-capture-" + std::to_string(::getpid()) + "-" + what))
        .string();
}

// A path as ffmpeg must take it: any name is a file, even one that starts
// with '-' (ffmpeg would read it as an option) or holds a ':' (a protocol).
std::string ffmpegFile(const std::string& path) { return "file:" + path; }

bool isMp4(const EncoderSettings& settings) { return settings.container == EncoderSettings::Container::Mp4; }

}  // namespace

VideoEncoder::VideoEncoder(const std::string& ffmpeg, const EncoderSettings& settings)
    : settings_(settings),
      ffmpeg_(ffmpeg),
      partialPath_(settings.file + ".part"),
      videoPath_(temporaryPath("video.mkv")),
      soundPath_(temporaryPath("sound.wav")),
      logPath_(temporaryPath("ffmpeg.log")) {
    const std::string size = std::to_string(settings.width) + "x" + std::to_string(settings.height);
    // The picture is encoded as it comes; yuv420p is what every player takes.
    process_ = std::make_unique<platform::ChildProcess>(std::vector<std::string>{ffmpeg_,
                                                                                 "-hide_banner",
                                                                                 "-nostats",
                                                                                 "-loglevel",
                                                                                 "error",
                                                                                 "-f",
                                                                                 "rawvideo",
                                                                                 "-pixel_format",
                                                                                 "bgra",
                                                                                 "-video_size",
                                                                                 size,
                                                                                 "-framerate",
                                                                                 std::to_string(settings.fps),
                                                                                 "-i",
                                                                                 "pipe:0",
                                                                                 "-c:v",
                                                                                 "libx264",
                                                                                 "-preset",
                                                                                 "ultrafast",
                                                                                 settings.lossless ? "-qp" : "-crf",
                                                                                 settings.lossless ? "0" : "18",
                                                                                 "-pix_fmt",
                                                                                 "yuv420p",
                                                                                 "-f",
                                                                                 "matroska",
                                                                                 "-y",
                                                                                 ffmpegFile(videoPath_)},
                                                        logPath_);

    writer_ = std::make_unique<FrameWriter>(*process_, settings.width, settings.height);
}

VideoEncoder::~VideoEncoder() {
    writer_.reset();
    process_.reset();
    std::error_code ignored;
    for (const std::string& path : {partialPath_, videoPath_, soundPath_, logPath_}) {
        std::filesystem::remove(path, ignored);
    }
}

std::uint8_t* VideoEncoder::nextBuffer() { return writer_->nextBuffer(); }

void VideoEncoder::submit(std::uint64_t repeats) { writer_->submit(repeats); }

std::uint64_t VideoEncoder::framesWritten() const { return writer_->framesWritten(); }

void VideoEncoder::checkHealth() const {
    if (writer_->broken()) throw CaptureError(failure("stopped taking frames"));
}

std::string VideoEncoder::failure(const std::string& what) const {
    const std::string said = platform::lastLineOf(logPath_);
    return "ffmpeg " + what + (said.empty() ? "" : ": " + said);
}

void VideoEncoder::finish(const CapturedSound& sound) {
    writer_->drain();
    checkHealth();
    if (process_->finish() != 0) throw CaptureError(failure("could not encode the picture"));
    if (!saveWav(soundPath_, sound.sampleRate, sound.channels, sound.samples)) {
        throw CaptureError("cannot write the sound to " + soundPath_);
    }

    // The picture as encoded; the sound in the container's own codec.
    const std::vector<std::string> mux{ffmpeg_,
                                       "-hide_banner",
                                       "-nostdin",
                                       "-loglevel",
                                       "error",
                                       "-i",
                                       ffmpegFile(videoPath_),
                                       "-i",
                                       ffmpegFile(soundPath_),
                                       "-map",
                                       "0:v:0",
                                       "-map",
                                       "1:a:0",
                                       "-c:v",
                                       "copy",
                                       "-c:a",
                                       isMp4(settings_) ? "aac" : "flac",
                                       "-b:a",
                                       "192k",
                                       "-movflags",
                                       "+faststart",
                                       "-f",
                                       isMp4(settings_) ? "mp4" : "matroska",
                                       "-y",
                                       ffmpegFile(partialPath_)};
    if (platform::runProgram(mux, logPath_) != 0) throw CaptureError(failure("could not add the sound"));
    std::error_code error;
    std::filesystem::rename(partialPath_, settings_.file, error);
    if (error) throw CaptureError("cannot move the video to " + settings_.file + ": " + error.message());
}
