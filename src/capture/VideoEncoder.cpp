#include "capture/VideoEncoder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "audio/WavFile.h"
#include "capture/FrameWriter.h"
#include "capture/OutputKind.h"
#include "capture/PartialFile.h"
#include "platform/ChildProcess.h"
#include "platform/StagedFile.h"

namespace {

// The encoder runs a little below the drawing's priority. At the same
// priority its threads pre-empt the one that feeds the renderer; far below
// it, it falls behind and the drawing waits for buffers. Whole 1080p
// captures taken in turn: 1.32 and 1.41 times the show's length at the same
// priority, 1.24 and 1.20 five steps below (never waiting for a buffer);
// ten steps below took longer than none.
constexpr int kEncoderNiceness = 5;

std::string temporaryPath(const std::string& what) {
    return (std::filesystem::temp_directory_path() / ("marrowick-capture-" + std::to_string(::getpid()) + "-" + what))
        .string();
}

// The video's own file beside it, to be renamed into place at the end.
std::string partialFileFor(const std::string& video) {
    const std::optional<std::string> path = createPartialFile(video);
    if (!path) throw CaptureError("cannot write " + video + ": " + std::strerror(errno));
    return *path;
}

// A path as ffmpeg must take it: any name is a file, even one that starts
// with '-' (ffmpeg would read it as an option) or holds a ':' (a protocol).
std::string ffmpegFile(const std::string& path) { return "file:" + path; }

}  // namespace

VideoEncoder::VideoEncoder(const std::string& ffmpeg, const EncoderSettings& settings)
    : settings_(settings),
      ffmpeg_(ffmpeg),
      partialPath_(partialFileFor(settings.file)),
      videoPath_(temporaryPath("video.nut")),
      soundPath_(temporaryPath("sound.wav")),
      logPath_(temporaryPath("ffmpeg.log")) {
    const std::string size = std::to_string(settings.width) + "x" + std::to_string(settings.height);
    const OutputKind& kind = *settings.kind;
    std::vector<std::string> arguments{ffmpeg_,
                                       "-hide_banner",
                                       "-nostats",
                                       "-loglevel",
                                       "error",
                                       "-f",
                                       "rawvideo",
                                       "-pixel_format",
                                       kind.yuv420 ? "yuv420p" : "bgra",
                                       "-video_size",
                                       size,
                                       "-framerate",
                                       settings.fps.text(),
                                       "-i",
                                       "pipe:0"};
    // The picture is encoded as it comes, into NUT, which keeps the
    // frame rate's own time base (Matroska would round every time to a
    // millisecond, and an MP4 made from it would judder by one).
    const std::vector<std::string>& picture =
        settings.lossless && !kind.losslessPicture.empty() ? kind.losslessPicture : kind.picture;
    arguments.insert(arguments.end(), picture.begin(), picture.end());
    arguments.insert(arguments.end(), {"-f", "nut", "-y", ffmpegFile(videoPath_)});
    process_ = std::make_unique<platform::ChildProcess>(arguments, logPath_, kEncoderNiceness);

    FrameShaping shaping = settings.shaping;
    shaping.yuv420 = kind.yuv420;
    writer_ = std::make_unique<FrameWriter>(*process_, settings.width, settings.height, shaping);
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

void VideoEncoder::submit(std::uint64_t frame, std::uint64_t repeats) { writer_->submit(frame, repeats); }

std::uint64_t VideoEncoder::framesWritten() const { return writer_->framesWritten(); }

void VideoEncoder::checkHealth() const {
    if (writer_->broken()) throw CaptureError(failure("stopped taking frames"));
}

std::string VideoEncoder::failure(const std::string& what) const {
    const std::string said = platform::lastLineOf(logPath_);
    return "ffmpeg " + what + (said.empty() ? "" : ": " + said);
}

void VideoEncoder::finish(const CapturedSound& sound, const VideoMetadata& metadata) {
    writer_->drain();
    checkHealth();
    if (process_->finish() != 0) throw CaptureError(failure("could not encode the picture"));
    if (!saveWav(soundPath_, sound.sampleRate, sound.channels, sound.samples)) {
        throw CaptureError("cannot write the sound to " + soundPath_);
    }
    // Beside the video, where the capture can write; a file of its own,
    // gone when this returns or throws.
    platform::StagedFile chapters(settings_.file + ".chapters");
    const std::string text = ffmetadataText(metadata);
    if (!chapters.write(text.data(), text.size()) || !chapters.close()) {
        throw CaptureError("cannot write the chapters beside " + settings_.file + ": " +
                           std::strerror(chapters.error()));
    }

    // The picture as encoded; the sound in the kind's own codec; the title,
    // the span and the chapters from the metadata file.
    const OutputKind& kind = *settings_.kind;
    std::vector<std::string> mux{ffmpeg_,
                                 "-hide_banner",
                                 "-nostdin",
                                 "-loglevel",
                                 "error",
                                 "-i",
                                 ffmpegFile(videoPath_),
                                 "-i",
                                 ffmpegFile(soundPath_),
                                 "-f",
                                 "ffmetadata",
                                 "-i",
                                 ffmpegFile(chapters.path()),
                                 "-map",
                                 "0:v:0",
                                 "-map",
                                 "1:a:0",
                                 "-map_metadata",
                                 "2",
                                 "-map_chapters",
                                 "2",
                                 "-c:v",
                                 "copy"};
    mux.insert(mux.end(), kind.sound.begin(), kind.sound.end());
    mux.insert(mux.end(), kind.muxing.begin(), kind.muxing.end());
    mux.insert(mux.end(), {"-f", kind.muxer, "-y", ffmpegFile(partialPath_)});
    if (platform::runProgram(mux, logPath_) != 0) throw CaptureError(failure("could not add the sound"));
    std::error_code error;
    std::filesystem::rename(partialPath_, settings_.file, error);
    if (error) throw CaptureError("cannot move the video to " + settings_.file + ": " + error.message());
}
