// The browser side: draws scene N of ?scene=N with the WebGL layer into the
// page's 320x240 canvas, times further frames, and says it is done in the
// page's title ("done NAME MS" or "error ...").
#include <GL/gl.h>
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "Probes.h"
#include "Scenes.h"
#include "platform/webgl/WebGlContext.h"

namespace {

void setTitle(const std::string& title) {
    EM_ASM({ document.title = UTF8ToString($0); }, title.c_str());
}

}  // namespace

int main() {
    const int n = EM_ASM_INT({
        const m = /[?&]scene=([0-9]+)/.exec(location.search);
        return m ? Number(m[1]) : -1;
    });
    const int frames = EM_ASM_INT({
        const m = /[?&]frames=([0-9]+)/.exec(location.search);
        return m ? Number(m[1]) : 20;
    });
    // clang-format off
    const bool probes = EM_ASM_INT({ return /[?&]probes=1/.test(location.search) ? 1 : 0; });
    // clang-format on
    if (probes) {
        mwgl::CanvasOptions options;
        if (!mwgl::createCanvasContext("#canvas", options)) {
            setTitle("error no WebGL 2");
            return 0;
        }
        const std::string text = runProbes();
        EM_ASM({ window.probeText = UTF8ToString($0); }, text.c_str());
        setTitle("done probes");
        return 0;
    }
    if (n < 0 || n >= kSceneCount) {
        setTitle("error no scene " + std::to_string(n));
        return 0;
    }
    sceneWidth = kScenes[n].width;
    sceneHeight = kScenes[n].height;
    EM_ASM(
        {
            const canvas = document.getElementById('canvas');
            canvas.width = $0;
            canvas.height = $1;
        },
        sceneWidth, sceneHeight);
    mwgl::CanvasOptions options;
    options.preserveDrawingBuffer = true;
    if (!mwgl::createCanvasContext("#canvas", options)) {
        setTitle("error no WebGL 2");
        return 0;
    }
    glViewport(0, 0, sceneWidth, sceneHeight);
    kScenes[n].init();
    kScenes[n].draw();
    // With frames=0 nothing here makes the layer draw what it has queued:
    // the picture then shows that the end of the task does.
    GLubyte pixel[4];
    if (frames > 0) glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    // Each timed frame ends in a read of one pixel, which waits for the
    // frame to be drawn.
    // The time in draw() is the layer's own work and the WebGL calls' on
    // this thread; the rest is waiting for SwiftShader.
    const double start = emscripten_get_now();
    double issuing = 0;
    for (int i = 0; i < frames; ++i) {
        const double before = emscripten_get_now();
        kScenes[n].draw();
        glFlush();
        issuing += emscripten_get_now() - before;
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    }
    const double ms = frames > 0 ? (emscripten_get_now() - start) / frames : 0;
    const double issueMs = frames > 0 ? issuing / frames : 0;
    const GLenum error = glGetError();
    char line[160];
    std::snprintf(line, sizeof line, "done %s %.2f draws=%llu programs=%u issue=%.2f%s", kScenes[n].name, ms,
                  mwgl::drawCallCount() / (frames + 1), mwgl::programCount(), issueMs,
                  error == GL_NO_ERROR ? "" : " gl-error");
    std::printf("%s\n", line);
    // The title changes in a later task, after the queued draws went out.
    EM_ASM(
        {
            const title = UTF8ToString($0);
            setTimeout(
                function() { document.title = title; }, 0);
        },
        line);
    return 0;
}
