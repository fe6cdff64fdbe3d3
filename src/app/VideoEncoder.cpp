#include "app/VideoEncoder.h"

#include <sys/uio.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/ChildProcess.h"
#include "platform/WavFile.h"

namespace {

// Three buffers: one being drawn into, one on its way to ffmpeg, one spare,
// so that neither side waits for the other in the steady state.
constexpr std::size_t kBufferCount = 3;

std::string temporaryPath(const std::string& what) {
    return (std::filesystem::temp_directory_path() / ("marrowick-capture-" + std::to_string(::getpid()) + "-" + what))
        .string();
}

// A path as ffmpeg must take it: any name is a file, even one that starts
// with '-' (ffmpeg would read it as an option) or holds a ':' (a protocol).
std::string ffmpegFile(const std::string& path) { return "file:" + path; }

bool isMp4(const CaptureOptions& options) { return options.container == CaptureOptions::Container::Mp4; }

}  // namespace

VideoEncoder::VideoEncoder(const std::string& ffmpeg, const CaptureOptions& options)
    : options_(options),
      ffmpeg_(ffmpeg),
      partialPath_(options.file + ".part"),
      videoPath_(temporaryPath("video.mkv")),
      soundPath_(temporaryPath("sound.wav")),
      logPath_(temporaryPath("ffmpeg.log")) {
    const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
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
                                                                                 std::to_string(options.fps),
                                                                                 "-i",
                                                                                 "pipe:0",
                                                                                 "-c:v",
                                                                                 "libx264",
                                                                                 "-preset",
                                                                                 "ultrafast",
                                                                                 options.lossless ? "-qp" : "-crf",
                                                                                 options.lossless ? "0" : "18",
                                                                                 "-pix_fmt",
                                                                                 "yuv420p",
                                                                                 "-f",
                                                                                 "matroska",
                                                                                 "-y",
                                                                                 ffmpegFile(videoPath_)},
                                                        logPath_);

    const std::size_t frameBytes = static_cast<std::size_t>(options.width) * options.height * 4;
    buffers_.assign(kBufferCount, std::vector<std::uint8_t>(frameBytes));
    writer_ = std::thread([this] { writeFrames(); });
}

VideoEncoder::~VideoEncoder() {
    stopWriter();
    process_.reset();
    std::error_code ignored;
    for (const std::string& path : {partialPath_, videoPath_, soundPath_, logPath_}) {
        std::filesystem::remove(path, ignored);
    }
}

std::uint8_t* VideoEncoder::nextBuffer() {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return inFlight_ < kBufferCount || broken_; });
    return buffers_[nextFree_].data();
}

void VideoEncoder::submit(std::uint64_t repeats) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (broken_) return;
        queue_.push_back({nextFree_, repeats});
        ++inFlight_;
        nextFree_ = (nextFree_ + 1) % kBufferCount;
    }
    changed_.notify_all();
}

std::uint64_t VideoEncoder::framesWritten() const {
    std::lock_guard<std::mutex> hold(lock_);
    return written_;
}

void VideoEncoder::checkHealth() const {
    std::lock_guard<std::mutex> hold(lock_);
    if (broken_) throw CaptureError(failure("stopped taking frames"));
}

void VideoEncoder::writeFrames() {
    const std::size_t rowBytes = static_cast<std::size_t>(options_.width) * 4;
    std::vector<struct iovec> rows(static_cast<std::size_t>(options_.height));
    for (;;) {
        Frame frame{};
        {
            std::unique_lock<std::mutex> hold(lock_);
            changed_.wait(hold, [this] { return !queue_.empty() || closing_; });
            if (queue_.empty()) return;
            frame = queue_.front();
        }
        // OpenGL reads bottom row first; the video wants the top row first.
        std::uint8_t* pixels = buffers_[frame.buffer].data();
        for (std::size_t y = 0; y < rows.size(); ++y) {
            rows[y] = {pixels + (rows.size() - 1 - y) * rowBytes, rowBytes};
        }
        bool sent = true;
        for (std::uint64_t i = 0; i < frame.repeats && sent; ++i) {
            sent = process_->write(rows.data(), static_cast<int>(rows.size()));
        }
        {
            std::lock_guard<std::mutex> hold(lock_);
            queue_.pop_front();
            --inFlight_;
            if (sent) {
                written_ += frame.repeats;
            } else {
                broken_ = true;
                queue_.clear();
                inFlight_ = 0;
            }
        }
        changed_.notify_all();
        if (!sent) return;
    }
}

void VideoEncoder::stopWriter() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        closing_ = true;
    }
    changed_.notify_all();
    if (writer_.joinable()) writer_.join();
}

std::string VideoEncoder::failure(const std::string& what) const {
    const std::string said = platform::lastLineOf(logPath_);
    return "ffmpeg " + what + (said.empty() ? "" : ": " + said);
}

void VideoEncoder::finish(const CapturedSound& sound) {
    stopWriter();
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
                                       isMp4(options_) ? "aac" : "flac",
                                       "-b:a",
                                       "192k",
                                       "-movflags",
                                       "+faststart",
                                       "-f",
                                       isMp4(options_) ? "mp4" : "matroska",
                                       "-y",
                                       ffmpegFile(partialPath_)};
    if (platform::runProgram(mux, logPath_) != 0) throw CaptureError(failure("could not add the sound"));
    std::error_code error;
    std::filesystem::rename(partialPath_, options_.file, error);
    if (error) throw CaptureError("cannot move the video to " + options_.file + ": " + error.message());
}
