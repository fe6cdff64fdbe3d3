#include "capture/FrameWriter.h"

#include "capture/FrameBlender.h"
#include "capture/Supersampler.h"
#include "capture/Yuv420.h"
#include "platform/ChildProcess.h"

namespace {

// Three buffers: one being drawn into, one on its way to ffmpeg, one spare,
// so that neither side waits for the other in the steady state. Drawn
// frames of a supersampled 4K video are hundreds of megabytes each; there
// two must do.
constexpr std::size_t kBufferCount = 3;
constexpr std::size_t kLargeFrameBytes = std::size_t{256} << 20;

}  // namespace

FrameWriter::FrameWriter(platform::ChildProcess& encoder, int width, int height, const FrameShaping& shaping)
    : encoder_(encoder),
      rowBytes_(static_cast<std::size_t>(width) * 4),
      rows_(static_cast<std::size_t>(height)),
      supersample_(shaping.supersample),
      drawnBytes_(rowBytes_ * rows_ * static_cast<std::size_t>(supersample_ * supersample_)),
      buffers_(drawnBytes_ > kLargeFrameBytes ? 2 : kBufferCount, std::vector<std::uint8_t>(drawnBytes_)),
      reduced_(supersample_ > 1 ? rowBytes_ * rows_ : 0),
      yuv420_(shaping.yuv420 ? yuv420Bytes(width, height) : 0),
      blender_(shaping.blend ? std::make_unique<FrameBlender>(*shaping.blend, rowBytes_ * rows_) : nullptr),
      pieces_(rows_),
      thread_([this] { writeFrames(); }) {}

FrameWriter::~FrameWriter() { drain(); }

std::uint8_t* FrameWriter::nextBuffer() {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return inFlight_ < buffers_.size() || broken_; });
    return buffers_[nextFree_].data();
}

void FrameWriter::submit(std::uint64_t frame, std::uint64_t repeats) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (broken_) return;
        queue_.push_back({nextFree_, frame, repeats});
        ++inFlight_;
        nextFree_ = (nextFree_ + 1) % buffers_.size();
    }
    changed_.notify_all();
}

std::uint64_t FrameWriter::framesWritten() const {
    std::lock_guard<std::mutex> hold(lock_);
    return written_;
}

bool FrameWriter::broken() const {
    std::lock_guard<std::mutex> hold(lock_);
    return broken_;
}

void FrameWriter::drain() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        closing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

// One video frame down the pipe. OpenGL reads bottom row first; the video
// wants the top row first, so the rows go out in reverse, each from where
// it lies, or are converted in that order.
bool FrameWriter::send(const std::uint8_t* pixels) {
    if (!yuv420_.empty()) {
        convertToYuv420(pixels, static_cast<int>(rowBytes_ / 4), static_cast<int>(rows_), yuv420_.data());
        const struct iovec whole = {yuv420_.data(), yuv420_.size()};
        if (!encoder_.write(&whole, 1)) return false;
    } else {
        for (std::size_t y = 0; y < rows_; ++y) {
            pieces_[y] = {const_cast<std::uint8_t*>(pixels) + (rows_ - 1 - y) * rowBytes_, rowBytes_};
        }
        if (!encoder_.write(pieces_.data(), static_cast<int>(pieces_.size()))) return false;
    }
    std::lock_guard<std::mutex> hold(lock_);
    ++written_;
    return true;
}

// The oldest drawn frame is done with: its buffer can be drawn into again.
void FrameWriter::release() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        queue_.pop_front();
        --inFlight_;
    }
    changed_.notify_all();
}

void FrameWriter::writeFrames() {
    const FrameBlender::Emit emit = [this](const std::uint8_t* pixels) { return send(pixels); };
    for (;;) {
        Frame frame{};
        {
            std::unique_lock<std::mutex> hold(lock_);
            changed_.wait(hold, [this] { return !queue_.empty() || closing_; });
            if (queue_.empty()) break;
            frame = queue_.front();
        }
        const std::uint8_t* pixels = buffers_[frame.buffer].data();
        bool released = false;
        if (supersample_ > 1) {
            reduceBox(pixels, static_cast<int>(rowBytes_ / 4), static_cast<int>(rows_), supersample_, reduced_.data());
            pixels = reduced_.data();
            release();
            released = true;
        }
        bool sent = true;
        if (blender_) {
            sent = blender_->add(frame.frame, pixels, emit);
        } else {
            for (std::uint64_t i = 0; i < frame.repeats && sent; ++i) sent = send(pixels);
        }
        if (!released) release();
        if (!sent) {
            {
                std::lock_guard<std::mutex> hold(lock_);
                broken_ = true;
                queue_.clear();
                inFlight_ = 0;
            }
            changed_.notify_all();
            return;
        }
    }
    if (blender_ && !blender_->finish(emit)) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            broken_ = true;
        }
        changed_.notify_all();
    }
}
