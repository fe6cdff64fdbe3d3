#include "render/Picture.h"

#include "render/RenderState.h"

namespace {

// The frame period at the 80 frames per second the limiter is built for: a
// fade of durationMs takes durationMs / 12.5 drawn frames.
constexpr double kFramePeriodMs = 12.5;

}  // namespace

Picture::Picture() : blendSrc(GL_SRC_ALPHA), blendDst(GL_ONE_MINUS_SRC_ALPHA), alpha(0.0f), restart(true) {}

void Picture::load(const char* fileName) {
    texture.setFormat(TextureFormat::Jpg);
    texture.load(fileName);
}

void Picture::draw(int durationMs, int direction, int width, int height, int x, int y, float targetAlpha) {
    if (direction == 1 && restart) {
        alpha = 0.0f;
        restart = false;
    } else if (direction == -1 && restart) {
        alpha = 1.0f;
        restart = false;
    }
    const double step = targetAlpha / (durationMs / kFramePeriodMs);

    enter2D(0, 0, 640, 480);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(blendSrc, blendDst);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);

    // This frame shows the opacity from before its step, except that the
    // last step's overshoot past either end is never shown.
    float shown = alpha;
    if (direction == 1) {
        if (alpha < targetAlpha) {
            alpha = static_cast<float>(alpha + step);
        } else {
            shown = targetAlpha;
        }
    } else if (direction == -1) {
        if (alpha > 0.0f) {
            alpha = static_cast<float>(alpha - step);
        } else {
            shown = 0.0f;
        }
    }
    glColor4f(1.0f, 1.0f, 1.0f, shown);

    texture.bind();
    glTranslatef(static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0.0f);
    // A picture faded out leaves every pixel as it was (blending at zero
    // opacity, depth untouched): the state is set as ever, but the quad,
    // a whole screen of texturing and blending, need not be drawn.
    const bool changesNothing = shown <= 0.0f && blendSrc == GL_SRC_ALPHA && blendDst == GL_ONE_MINUS_SRC_ALPHA;
    if (!changesNothing) {
        // Texture row 0 is the top row of a JPG; it goes on the quad's top edge.
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2i(0, height);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2i(width, height);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2i(width, 0);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2i(0, 0);
        glEnd();
    }

    resetRenderState();
}
