// The show's baseline OpenGL state and the 2D pixel overlay. Drawing routines
// set what they need and end with resetRenderState() instead of restoring
// what they changed; texturing, the bound texture, the blend function and the
// lights are left as the last routine set them.
#pragma once

class Material;

// Pixel overlay: pushes the projection and replaces it by an orthographic one
// over (left, top)-(right, bottom); the modelview becomes the identity.
void enter2D(int left, int top, int right, int bottom);

// Pops the overlay's projection, if one is pushed, and selects the modelview.
void leave2D();

// Back to the baseline: smooth shading, depth test and writes, no blending,
// filled polygons, back faces culled, lighting on, white colour, identity
// modelview, the default material.
void resetRenderState();

// The material the reset applies. Built once with the defaults, never changed.
Material& defaultMaterial();
