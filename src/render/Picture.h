// A JPG drawn over the scene as a rectangle in window pixels, fading in or
// out by a fixed step on every frame that draws it. The opacity carries over
// from frame to frame, so a fade takes a fixed number of drawn frames.
#pragma once

#include <GL/gl.h>

#include "render/Texture.h"

class Picture {
public:
    Picture();

    void load(const char* fileName);
    // direction 1 fades in towards targetAlpha, -1 fades out; the step is
    // targetAlpha / (durationMs / 12.5) per draw.
    void draw(int durationMs, int direction, int width, int height, int x, int y, float targetAlpha);

    float getAlpha() const { return alpha; }
    const Texture& getTexture() const { return texture; }

private:
    GLenum blendSrc;
    GLenum blendDst;
    Texture texture;
    float alpha;
    bool restart;
};
