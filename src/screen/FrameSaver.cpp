#include "screen/FrameSaver.h"

#include <GL/gl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/StagedFile.h"
#include "render/PngWriter.h"

std::string savedFrameName(const std::string& cue, std::uint64_t showMs) {
    std::string kept;
    for (const char c : cue.empty() ? std::string("start") : cue) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        kept += plain ? c : '_';
    }
    char time[48];
    std::snprintf(time, sizeof time, "%llum%02llu.%03llus", static_cast<unsigned long long>(showMs / 60000),
                  static_cast<unsigned long long>(showMs / 1000 % 60), static_cast<unsigned long long>(showMs % 1000));
    return "marrowick-" + kept + "-" + time;
}

namespace {

// Under the first of name.png, name-2.png, ... that no file has.
void writeFrame(const std::vector<std::uint8_t>& png, const std::string& name) {
    if (png.empty()) {
        std::fprintf(stderr, "marrowick: cannot save the frame as %s.png: libpng failed\n", name.c_str());
        return;
    }
    platform::StagedFile staged(name + ".png");
    if (!staged.write(png.data(), png.size()) || !staged.close()) {
        std::fprintf(stderr, "marrowick: cannot save the frame as %s.png: %s\n", name.c_str(),
                     std::strerror(staged.error()));
        return;
    }
    for (int n = 1;; ++n) {
        const std::string file = n == 1 ? name + ".png" : name + "-" + std::to_string(n) + ".png";
        if (staged.placeAsNew(file)) {
            std::fprintf(stderr, "marrowick: saved the frame as %s\n", file.c_str());
            return;
        }
        if (staged.error() != EEXIST) {
            std::fprintf(stderr, "marrowick: cannot save the frame as %s: %s\n", file.c_str(),
                         std::strerror(staged.error()));
            return;
        }
    }
}

}  // namespace

FrameSaver::FrameSaver() : thread_([this] { writeFrames(); }) {}

FrameSaver::~FrameSaver() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void FrameSaver::saveWindow(int width, int height, const std::string& name) {
    Frame frame{
        std::vector<std::uint8_t>(std::size_t{4} * static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
        width, height, name};
    // Every bit of state touched is put back: the show's next frame is the
    // same whether or not this one was saved.
    GLint readBuffer = GL_BACK;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
    glReadBuffer(static_cast<GLenum>(readBuffer));
    {
        std::lock_guard<std::mutex> hold(lock_);
        queue_.push_back(std::move(frame));
    }
    changed_.notify_all();
}

void FrameSaver::writeFrames() {
    for (;;) {
        Frame frame;
        {
            std::unique_lock<std::mutex> hold(lock_);
            changed_.wait(hold, [this] { return closing_ || !queue_.empty(); });
            if (queue_.empty()) return;
            frame = std::move(queue_.front());
            queue_.pop_front();
        }
        const std::vector<std::uint8_t> rgb =
            rgbFromReadBack(frame.rgba.data(), frame.width, frame.height, ReadBackOrder::Rgba);
        writeFrame(encodePng(rgb, frame.width, frame.height), frame.name);
    }
}
