// What loading the show's pictures costs at start-up: every JPG and the TGA
// of the pack, decoded and uploaded with their mipmaps, one after another as
// the scenes' init functions do it.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "GlContext.h"
#include "render/Texture.h"

namespace {

const char* const kJpgs[] = {
    "chess.jpg",          "black.jpg",        "env1.jpg",           "sky.jpg",
    "grass.jpg",          "smoke.jpg",        "cockAttack.jpg",     "ting\\kingThing.jpg",
    "ting\\blod.jpg",     "ting\\queen.jpg",  "ting\\king.jpg",     "ting\\peasants.jpg",
    "ting\\quillory.jpg", "ting\\gsg.jpg",    "ting\\applause.jpg", "ting\\1337.jpg",
    "ting\\toon1.jpg",    "ting\\toon2.jpg",  "ting\\toon3.jpg",    "ting\\boom.jpg",
    "ting\\credits.jpg",  "ting\\salute.jpg",
};

void loadAllPictures(benchmark::State& state) {
    testsupport::GlContext context(640, 480);
    if (::chdir(MARROWICK_PACK_DIR) != 0) {
        state.SkipWithError("no data pack at " MARROWICK_PACK_DIR);
        return;
    }
    std::vector<GLuint> names;
    for (auto _ : state) {
        for (const char* file : kJpgs) {
            Texture texture;
            texture.setFormat(TextureFormat::Jpg);
            texture.load(file);
            names.push_back(texture.getName());
        }
        Texture logo;
        logo.setFormat(TextureFormat::Tga);
        logo.load("ting\\watgsg512_inv.tga");
        names.push_back(logo.getName());
        glFinish();

        state.PauseTiming();
        glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
        names.clear();
        state.ResumeTiming();
    }
    state.counters["files"] = static_cast<double>(std::size(kJpgs) + 1);
}

}  // namespace

BENCHMARK(loadAllPictures)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
