// Frames on their way to the encoder: a small ring of buffers that the
// drawing thread fills and a thread of the writer's own sends down the
// encoder's pipe, top row first, so that drawing and encoding overlap.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {
class ChildProcess;
}

class FrameWriter {
public:
    // Frames of width x height BGRA pixels, to `encoder`'s standard input.
    FrameWriter(platform::ChildProcess& encoder, int width, int height);
    // Sends what is queued, then stops the thread.
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // A buffer for the next frame, bottom row first as OpenGL reads them.
    // Waits while every buffer is in flight.
    std::uint8_t* nextBuffer();
    // Queues the buffer last handed out, to be sent `repeats` times.
    void submit(std::uint64_t repeats);
    // Sends what is queued, then lets the thread go.
    void drain();

    std::uint64_t framesWritten() const;
    // The encoder stopped taking frames.
    bool broken() const;

private:
    struct Frame {
        std::size_t buffer;
        std::uint64_t repeats;
    };
    void writeFrames();

    platform::ChildProcess& encoder_;
    const std::size_t rowBytes_;
    const std::size_t rows_;
    std::vector<std::vector<std::uint8_t>> buffers_;
    std::size_t nextFree_ = 0;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Frame> queue_;
    std::size_t inFlight_ = 0;
    std::uint64_t written_ = 0;
    bool broken_ = false;
    bool closing_ = false;
    std::thread thread_;
};
