// How much the surface-following extraction of MetaballField::draw saves
// over marching the whole grid, on the show's field (resolution 50, ten
// balls) after a few hundred update steps, with the triangles sent to a real
// software OpenGL context. Both are timed in the same run, the ratio is
// printed at the end, and the two are first checked to send the same
// triangles, so the comparison is like for like.
#include <EGL/egl.h>
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "FullGridMarchingCubes.h"
#include "GlContext.h"
#include "effects/FaceCrossingTable.h"
#include "effects/MetaballField.h"
#include "platform/Ticks.h"

namespace {

constexpr int gridPoints = 51 * 51 * 51;

struct Scene {
    testsupport::GlContext context{640, 480};
    MetaballField field;
    FullGridMarchingCubes fullGrid{field};

    Scene() {
        // Configured as the show configures its field, then set moving.
        field.allocateVertexBuffer();
        field.allocateIndexBuffer();
        field.setResolution(50);
        field.setAmbient(0.2f, 0.2f, 0.2f, 1);
        field.setDiffuse(1, 1, 1, 1);
        field.setFace(GL_BACK);
        field.setSpecular(0, 0, 0, 1);
        field.setTextured(true);
        std::srand(2002);
        field.setBallCount(10);
        for (int i = 0; i < 300; ++i) field.update(0.1f);

        glViewport(0, 0, 640, 480);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

// Triangles as OpenGL received them (window coordinates through the feedback
// buffer), each starting at its smallest corner, sorted.
template <typename Draw>
std::vector<std::array<long, 9>> sentTriangles(Draw draw) {
    static std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::array<long, 9>> triangles;
    for (GLint i = 0; i < used;) {
        const auto token = static_cast<GLint>(buffer[i++]);
        if (token != GL_POLYGON_TOKEN) {
            std::fprintf(stderr, "unexpected feedback token %d\n", token);
            std::exit(1);
        }
        const auto corners = static_cast<GLint>(buffer[i++]);
        std::array<std::array<long, 3>, 3> t{};
        for (int c = 0; c < corners && c < 3; ++c) {
            for (int k = 0; k < 3; ++k) t[c][k] = std::lround(buffer[i + 3 * c + k] * 1000);
        }
        i += 3 * corners;
        std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
        triangles.push_back({t[0][0], t[0][1], t[0][2], t[1][0], t[1][1], t[1][2], t[2][0], t[2][1], t[2][2]});
    }
    std::sort(triangles.begin(), triangles.end());
    return triangles;
}

void checkSameTriangles() {
    Scene& s = scene();
    const auto ours = sentTriangles([&] { s.field.draw(); });
    const auto full = sentTriangles([&] { s.fullGrid.draw(); });
    if (ours.empty() || ours != full) {
        std::fprintf(stderr, "surface-following sent %zu triangles, the full grid %zu: not the same surface\n",
                     ours.size(), full.size());
        std::exit(1);
    }
    std::printf("both send the same %zu triangles\n", ours.size());
}

// With no context current every OpenGL call lands in the dispatcher's empty
// stub: what is left is the extraction's own work and the cost of the calls.
class NoContext {
public:
    NoContext()
        : display(eglGetCurrentDisplay()),
          draw(eglGetCurrentSurface(EGL_DRAW)),
          read(eglGetCurrentSurface(EGL_READ)),
          context(eglGetCurrentContext()) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    ~NoContext() { eglMakeCurrent(display, draw, read, context); }

private:
    EGLDisplay display;
    EGLSurface draw, read;
    EGLContext context;
};

template <typename Draw>
void timeSubmitted(benchmark::State& state, Draw draw, int evaluations) {
    for (auto _ : state) {
        draw();
        // Rasterising is OpenGL's work, not the extraction's: wait for it
        // outside the timed part, so frames do not queue up either.
        state.PauseTiming();
        glFinish();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        state.ResumeTiming();
    }
    state.counters["evaluations"] = evaluations;
    state.counters["gridPercent"] = 100.0 * evaluations / gridPoints;
}

template <typename Draw>
void timeExtraction(benchmark::State& state, Draw draw) {
    NoContext none;
    for (auto _ : state) draw();
}

void SurfaceFollowingExtraction(benchmark::State& state) {
    Scene& s = scene();
    timeExtraction(state, [&] { s.field.draw(); });
}
BENCHMARK(SurfaceFollowingExtraction)->Unit(benchmark::kMillisecond);

void FullGridExtraction(benchmark::State& state) {
    Scene& s = scene();
    timeExtraction(state, [&] { s.fullGrid.draw(); });
}
BENCHMARK(FullGridExtraction)->Unit(benchmark::kMillisecond);

void SurfaceFollowingSubmitted(benchmark::State& state) {
    Scene& s = scene();
    s.field.draw();
    timeSubmitted(
        state, [&] { s.field.draw(); }, s.field.fieldEvaluations());
}
BENCHMARK(SurfaceFollowingSubmitted)->Unit(benchmark::kMillisecond);

void FullGridSubmitted(benchmark::State& state) {
    Scene& s = scene();
    s.fullGrid.draw();
    timeSubmitted(
        state, [&] { s.fullGrid.draw(); }, s.fullGrid.fieldEvaluations());
}
BENCHMARK(FullGridSubmitted)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per frame so the ratio comes from this run.
// CPU time, not wall time: the machine is shared, and waiting for a core is
// not the extraction's cost.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                perFrame[run.run_name.function_name] = run.cpu_accumulated_time / run.iterations;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> perFrame;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    checkSameTriangles();
    scene().field.draw();
    scene().fullGrid.draw();
    std::printf("field evaluations per frame: surface-following %d, full grid %d, of %d grid points\n",
                scene().field.fieldEvaluations(), scene().fullGrid.fieldEvaluations(), gridPoints);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* kind : {"Extraction", "Submitted"}) {
        const auto ours = reporter.perFrame.find(std::string("SurfaceFollowing") + kind);
        const auto full = reporter.perFrame.find(std::string("FullGrid") + kind);
        if (ours == reporter.perFrame.end() || full == reporter.perFrame.end()) continue;
        std::printf("%s (CPU): surface-following %.3f ms per frame, full grid %.3f ms, %.1f times faster\n", kind,
                    ours->second * 1e3, full->second * 1e3, full->second / ours->second);
    }
    benchmark::Shutdown();
    return 0;
}
