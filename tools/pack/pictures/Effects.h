// The period look, as reusable layers: gradients, scanlines, grain and
// vignettes for backgrounds; glows, shadows, bevels and chrome for lettering;
// anti-aliased shapes from distance functions for drawings.
#pragma once

#include <functional>

#include "pack/Random.h"
#include "pack/pictures/Canvas.h"

// Backgrounds.
void verticalGradient(Canvas& canvas, const Ramp& ramp);
void radialGlow(Canvas& canvas, float cx, float cy, float radius, const Colour& colour, float strength);
void scanlines(Canvas& canvas, float darkness, int period = 2);
void grain(Canvas& canvas, Random& random, float amount);
void vignette(Canvas& canvas, float strength);
// A checkerboard floor running from the bottom edge to a horizon, in perspective.
void checkerFloor(Canvas& canvas, float horizonY, const Colour& light, const Colour& dark, float squares);
void starfield(Canvas& canvas, Random& random, int count, float brightness);

// Lettering and any other mask.
void fillMask(Canvas& canvas, const Mask& mask, const Colour& colour, float opacity = 1.0f);
void glowMask(Canvas& canvas, const Mask& mask, const Colour& colour, float radius, float strength);
void shadowMask(Canvas& canvas, const Mask& mask, int dx, int dy, float radius, float opacity);
// Metal lettering: `ramp` runs down the ink from `top` to `bottom`, lit from
// the upper left through the mask's blurred edges, with a dark rim.
void chromeMask(Canvas& canvas, const Mask& mask, float top, float bottom, const Ramp& ramp, float bevel = 3.0f);

// The classic chrome: sky above a sharp horizon, warm ground below.
Ramp chromeRamp();
Ramp goldRamp();

// Shapes: a signed distance (negative inside, in pixels) over a bounding box.
using Distance = std::function<float(float x, float y)>;
struct Bounds {
    float x0, y0, x1, y1;
};
void paintShape(Canvas& canvas, const Colour& colour, const Distance& distance, Bounds bounds, float grow = 0.0f);
// Black ink line around a filled shape, comic style.
void inkShape(Canvas& canvas, const Colour& fill, const Distance& distance, Bounds bounds, float line);
void maskShape(Mask& mask, const Distance& distance, Bounds bounds);

float circleDistance(float x, float y, float cx, float cy, float r);
float ellipseDistance(float x, float y, float cx, float cy, float rx, float ry);
float segmentDistance(float x, float y, float ax, float ay, float bx, float by, float thickness);
float boxDistance(float x, float y, float cx, float cy, float halfW, float halfH, float corner);
