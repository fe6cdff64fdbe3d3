// The backdrop of a scene: six textured quads round the viewer, seen from
// inside. The static faces are compiled once into a display list; the top can
// instead be sent every frame with a creeping texture coordinate, so a sky or
// ceiling drifts slowly overhead.
#pragma once

#include "platform/LiveInstances.h"

#include <GL/gl.h>

#include <cstdint>

#include "render/Material.h"
#include "render/Texture.h"

// One hexadecimal digit per face; a face whose bit is set is left out.
using FaceSkipMask = std::uint32_t;
constexpr FaceSkipMask skipTop = 0x1;
constexpr FaceSkipMask skipMinusX = 0x10;
constexpr FaceSkipMask skipPlusX = 0x100;
constexpr FaceSkipMask skipMinusZ = 0x1000;
constexpr FaceSkipMask skipPlusZ = 0x10000;
constexpr FaceSkipMask skipBottom = 0x100000;

// How far the textures of every sky box have crept: shared by all the boxes
// of a show and moved on by each draw, so a show state carries it.
struct SkyBoxScroll {
    float top = 0.0f;    // the scrolling top's t offset
    float faceU = 0.0f;  // added to the faces' coordinates when a box is compiled
    float faceV = 0.0f;
};

class SkyBox : platform::LiveInstances<SkyBox> {
public:
    // Texture slots of the six faces.
    enum Face { PlusZ = 0, PlusX = 1, MinusZ = 2, MinusX = 3, Bottom = 4, Top = 5 };

    explicit SkyBox(SkyBoxScroll& shared);

    void setScrollingTop(bool flag) { scrollingTop = flag; }
    void setWidth(float width) { scaleX = width; }
    void setHeight(float height) { scaleY = height; }
    void setDepth(float depth) { scaleZ = depth; }
    void setPosition(float x, float y, float z);
    void setTopScrollSpeed(float speed) { topScrollSpeed = speed; }
    // The texture steps only reach the faces compiled at the first draw.
    void setTextureStepU(float step) { textureStepU = step; }
    void setTextureStepV(float step) { textureStepV = step; }

    void loadTexturePlusZ(const char* path) { loadFace(PlusZ, path); }
    void loadTexturePlusX(const char* path) { loadFace(PlusX, path); }
    void loadTextureMinusZ(const char* path) { loadFace(MinusZ, path); }
    void loadTextureMinusX(const char* path) { loadFace(MinusX, path); }
    void loadTextureBottom(const char* path) { loadFace(Bottom, path); }
    void loadTextureTop(const char* path) { loadFace(Top, path); }

    // Compiles the faces on the first call. Translates and scales the current
    // modelview matrix and ends with resetRenderState(), so callers keep their
    // view by pushing the matrix before and popping it after.
    void draw();

    GLuint getDisplayList() const { return displayList; }
    // Whether the faces have been compiled: a show state carries it, since
    // compiling moves the shared face offsets on. A box put back to before
    // its first draw compiles again, into the same list.
    bool isCompiled() const { return compiled; }
    void setCompiled(bool flag) { compiled = flag && displayList != 0; }

private:
    void loadFace(Face face, const char* path);

    SkyBoxScroll& scroll;
    Material material;
    Texture faceTextures[6];
    bool scrollingTop = true;
    float scaleY = 1.0f;
    float scaleX = 1.0f;
    float scaleZ = 1.0f;
    float position[3] = {0.0f, 0.0f, 0.0f};
    GLuint displayList = 0;
    bool compiled = false;
    float topScrollSpeed = 0.0f;
    float textureStepU = 0.0f;
    float textureStepV = 0.0f;
};

// Emits the unit box (each face a quad from -1 to 1) scaled, then translated
// in scaled units, with every face not in skip bound to its texture. The face
// texture offsets shared by all boxes (`scroll`) are added to the coordinates and then
// advanced by the two steps.
void drawBoxFaces(float x, float y, float z, float scaleX, float scaleY, float scaleZ, const Texture textures[6],
                  FaceSkipMask skip, float stepU, float stepV, SkyBoxScroll& scroll);
