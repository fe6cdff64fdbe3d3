#include "capture/DrawTargets.h"

#include <GL/gl.h>

namespace {

constexpr long long kLargestOverlappedPixels = 3840LL * 2160;

}  // namespace

DrawTargets::DrawTargets(int width, int height)
    : surfaces_(static_cast<long long>(width) * height > kLargestOverlappedPixels ? 1 : 2),
      context_(width, height, surfaces_) {}

void DrawTargets::drawInto(std::uint64_t frame) {
    if (!overlapped()) return;
    // The other pbuffer holds the frame before, the next to be read back.
    drawing_ = static_cast<int>(frame % 2);
    reading_ = 1 - drawing_;
    context_.use(drawing_, reading_);
}

void DrawTargets::readBack(std::uint64_t frame, std::uint8_t* pixels) {
    const int surface = static_cast<int>(frame % static_cast<std::uint64_t>(surfaces_));
    if (surface != reading_) {
        reading_ = surface;
        context_.use(drawing_, reading_);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, context_.width(), context_.height(), GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}
