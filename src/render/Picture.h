// A JPG drawn over the scene as a rectangle in window pixels, fading in or
// out by a fixed step on every frame that draws it. The opacity carries over
// from frame to frame, so a fade takes a fixed number of drawn frames.
#pragma once

#include "platform/LiveInstances.h"

#include <GL/gl.h>

#include "render/Texture.h"

// A fade: how long it takes, which way it goes (1 in, -1 out) and the
// opacity it fades in to, or out from.
struct PictureFade {
    int durationMs;
    int direction;
    float targetAlpha;
};
constexpr PictureFade fadeIn(int durationMs, float toAlpha = 1.0f) { return {durationMs, 1, toAlpha}; }
constexpr PictureFade fadeOut(int durationMs, float fromAlpha = 1.0f) { return {durationMs, -1, fromAlpha}; }

// Where the picture lies, in the 640 x 480 pixels of the overlay.
struct PictureArea {
    int x, y, width, height;
};
constexpr PictureArea kWholeScreen{0, 0, 640, 480};

class Picture : platform::LiveInstances<Picture> {
public:
    Picture();

    void load(const char* fileName);
    // direction 1 fades in towards targetAlpha, -1 fades out; the step is
    // targetAlpha / (durationMs / 12.5) per draw.
    void draw(int durationMs, int direction, int width, int height, int x, int y, float targetAlpha);
    void draw(const PictureFade& fade, const PictureArea& area) {
        draw(fade.durationMs, fade.direction, area.width, area.height, area.x, area.y, fade.targetAlpha);
    }

    float getAlpha() const { return alpha; }

    // Where the fade stands, to be put back by the player's seeks.
    struct FadeState {
        float alpha;
        bool restart;
    };
    FadeState getFadeState() const { return {alpha, restart}; }
    void setFadeState(const FadeState& saved) {
        alpha = saved.alpha;
        restart = saved.restart;
    }
    const Texture& getTexture() const { return texture; }

private:
    GLenum blendSrc;
    GLenum blendDst;
    Texture texture;
    float alpha;
    bool restart;
};
