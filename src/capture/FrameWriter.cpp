#include "capture/FrameWriter.h"

#include <sys/uio.h>

#include "platform/ChildProcess.h"

namespace {

// Three buffers: one being drawn into, one on its way to ffmpeg, one spare,
// so that neither side waits for the other in the steady state.
constexpr std::size_t kBufferCount = 3;

}  // namespace

FrameWriter::FrameWriter(platform::ChildProcess& encoder, int width, int height)
    : encoder_(encoder),
      rowBytes_(static_cast<std::size_t>(width) * 4),
      rows_(static_cast<std::size_t>(height)),
      buffers_(kBufferCount, std::vector<std::uint8_t>(rowBytes_ * rows_)),
      thread_([this] { writeFrames(); }) {}

FrameWriter::~FrameWriter() { drain(); }

std::uint8_t* FrameWriter::nextBuffer() {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return inFlight_ < kBufferCount || broken_; });
    return buffers_[nextFree_].data();
}

void FrameWriter::submit(std::uint64_t repeats) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (broken_) return;
        queue_.push_back({nextFree_, repeats});
        ++inFlight_;
        nextFree_ = (nextFree_ + 1) % kBufferCount;
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

void FrameWriter::writeFrames() {
    std::vector<struct iovec> rows(rows_);
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
        for (std::size_t y = 0; y < rows_; ++y) rows[y] = {pixels + (rows_ - 1 - y) * rowBytes_, rowBytes_};
        bool sent = true;
        for (std::uint64_t i = 0; i < frame.repeats && sent; ++i) {
            sent = encoder_.write(rows.data(), static_cast<int>(rows.size()));
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
