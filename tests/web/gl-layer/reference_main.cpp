// Draws every scene with the desktop OpenGL (Mesa, an EGL pbuffer) and
// writes <folder>/<scene>.png: the pictures the layer is held to.
#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Probes.h"
#include "Scenes.h"
#include "platform/OffscreenGl.h"

namespace {

bool writePng(const std::string& path, const std::vector<std::uint8_t>& topDown) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(sceneWidth);
    image.height = static_cast<png_uint_32>(sceneHeight);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, topDown.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    {
        platform::OffscreenGl gl(320, 240);
        const std::string text = runProbes();
        const std::string path = std::string(argv[1]) + "/probes.txt";
        FILE* f = std::fopen(path.c_str(), "w");
        if (f == nullptr) return 1;
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
    for (int n = 0; n < kSceneCount; ++n) {
        sceneWidth = kScenes[n].width;
        sceneHeight = kScenes[n].height;
        platform::OffscreenGl gl(sceneWidth, sceneHeight);
        glViewport(0, 0, sceneWidth, sceneHeight);
        kScenes[n].init();
        // Twice, as the browser draws it more than once: a scene must not
        // depend on what its last frame left.
        kScenes[n].draw();
        const auto start = std::chrono::steady_clock::now();
        kScenes[n].draw();
        glFinish();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::vector<std::uint8_t> bottomUp(static_cast<std::size_t>(sceneWidth) * sceneHeight * 4),
            topDown(bottomUp.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, sceneWidth, sceneHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
        const std::size_t row = static_cast<std::size_t>(sceneWidth) * 4;
        for (int y = 0; y < sceneHeight; ++y) {
            std::copy_n(&bottomUp[(sceneHeight - 1 - y) * row], row, &topDown[y * row]);
        }
        // A window shows no alpha: the picture is opaque, as the canvas is.
        for (std::size_t i = 3; i < topDown.size(); i += 4) topDown[i] = 255;
        const GLenum error = glGetError();
        const std::string path = std::string(argv[1]) + "/" + kScenes[n].name + ".png";
        if (!writePng(path, topDown)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%d %s %.2f %s %dx%d\n", n, kScenes[n].name, ms, error == GL_NO_ERROR ? "ok" : "gl-error",
                    sceneWidth, sceneHeight);
    }
    return 0;
}
