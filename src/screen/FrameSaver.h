// The player's saved frames: the frame on screen, read back from the window
// on the frame path (the copy is all it costs there), then turned into a PNG
// and written on a thread of its own, so the show keeps its pace.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// "marrowick-scene3-0m37.212s": the name, without ".png", of a frame shown at
// `showMs` while `cue` is in force (empty: "start"). Only letters, digits,
// '-' and '_' of the cue's name are kept; the rest become '_', so a name
// never reaches another folder.
std::string savedFrameName(const std::string& cue, std::uint64_t showMs);

class FrameSaver {
public:
    FrameSaver();
    // Writes every frame still queued, then stops the thread.
    ~FrameSaver();
    FrameSaver(const FrameSaver&) = delete;
    FrameSaver& operator=(const FrameSaver&) = delete;

    // Reads back the window's frame as drawn (width x height from its
    // bottom left, before the swap) and queues it to be saved as
    // `<name>.png` in the current folder, or `<name>-2.png`, `<name>-3.png`,
    // ... when that is taken: never over a file there. Each save, or why it
    // failed, is one line on standard error.
    void saveWindow(int width, int height, const std::string& name);

private:
    struct Frame {
        std::vector<std::uint8_t> rgba;  // bottom row first, as read back
        int width = 0;
        int height = 0;
        std::string name;
    };
    void writeFrames();

    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Frame> queue_;
    bool closing_ = false;
    std::thread thread_;
};
