// Frames on their way to the encoder: a small ring of buffers that the
// drawing thread fills and a thread of the writer's own turns into video
// frames and sends down the encoder's pipe, top row first, so that drawing,
// shaping and encoding overlap. Shaping is what lies between a drawn frame
// and the video: a supersampled frame is reduced to the video's size, a
// blend averages the show frames of each video frame, and a video in 4:2:0
// gets its frames in 4:2:0.
#pragma once

#include <sys/uio.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "show/FrameTiming.h"

class FrameBlender;
namespace platform {
class ChildProcess;
}

struct FrameShaping {
    int supersample = 1;               // frames are drawn this many times the video's width and height
    std::optional<FrameTiming> blend;  // each video frame the average of the show frames up during it
    bool yuv420 = false;               // sent as planar 4:2:0, not as the BGRA drawn
};

class FrameWriter {
public:
    // Video frames of width x height pixels, to `encoder`'s standard input.
    FrameWriter(platform::ChildProcess& encoder, int width, int height, const FrameShaping& shaping = {});
    // Sends what is queued, then stops the thread.
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // A buffer for the next drawn frame (supersample times the video's width
    // and height), bottom row first as OpenGL reads them. Waits while every
    // buffer is in flight.
    std::uint8_t* nextBuffer();
    // Queues the buffer last handed out: the capture's show frame `frame`
    // (counted from 0 with every frame submitted under a blend), to be
    // sent `repeats` times without one.
    void submit(std::uint64_t frame, std::uint64_t repeats);
    // Sends what is queued (and the blend's last frame), then lets the thread go.
    void drain();

    std::uint64_t framesWritten() const;
    // The encoder stopped taking frames.
    bool broken() const;

    // The bytes of one drawn frame and the number of them the ring holds.
    std::size_t drawnFrameBytes() const { return drawnBytes_; }
    std::size_t bufferCount() const { return buffers_.size(); }

private:
    struct Frame {
        std::size_t buffer;
        std::uint64_t frame;
        std::uint64_t repeats;
    };
    void writeFrames();
    bool send(const std::uint8_t* pixels);
    void release();

    platform::ChildProcess& encoder_;
    const std::size_t rowBytes_;
    const std::size_t rows_;
    const int supersample_;
    const std::size_t drawnBytes_;
    std::vector<std::vector<std::uint8_t>> buffers_;
    std::vector<std::uint8_t> reduced_;      // a supersampled frame at the video's size
    std::vector<std::uint8_t> yuv420_;       // the frame being sent, in 4:2:0 when the video is
    std::unique_ptr<FrameBlender> blender_;  // with a blend only
    std::vector<struct iovec> pieces_;       // the rows of the frame being sent
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
