#include "effects/SkyBox.h"

#include "render/GeometryLeftOut.h"
#include "render/RenderState.h"

namespace {

struct BoxFace {
    FaceSkipMask skip;
    SkyBox::Face slot;
    float normal[3];
    float corners[4][3];
};

// The faces in the order they are emitted; every quad takes its texture
// coordinates from quadTexCoords, corner by corner.
constexpr BoxFace boxFaces[6] = {
    {skipMinusZ, SkyBox::MinusZ, {0, 0, -1}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},
    {skipPlusX, SkyBox::PlusX, {1, 0, 0}, {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}}},
    {skipPlusZ, SkyBox::PlusZ, {0, 0, 1}, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
    {skipMinusX, SkyBox::MinusX, {-1, 0, 0}, {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
    {skipBottom, SkyBox::Bottom, {0, -1, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
    {skipTop, SkyBox::Top, {0, 1, 0}, {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}},
};

constexpr double quadTexCoords[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};

}  // namespace

SkyBox::SkyBox(SkyBoxScroll& shared) : scroll(shared) {
    material.setFace(GL_BACK);
    material.setAmbient(0.5f, 0.5f, 0.5f, 1.0f);
    material.setDiffuse(1.0f, 1.0f, 1.0f, 1.0f);
    material.setEmission(0.0f, 0.0f, 0.0f, 1.0f);
    material.setShininess(0.0f, 0.0f, 0.0f, 1.0f);
    material.setSpecular(0.0f, 0.0f, 0.0f, 1.0f);
}

void SkyBox::setPosition(float x, float y, float z) {
    position[0] = x;
    position[1] = y;
    position[2] = z;
}

void SkyBox::loadFace(Face face, const char* path) {
    faceTextures[face].setFormat(TextureFormat::Jpg);
    faceTextures[face].load(path);
}

void SkyBox::draw() {
    if (!compiled) {
        if (displayList == 0) displayList = glGenLists(1);
        glNewList(displayList, GL_COMPILE);
        drawBoxFaces(0, 0, 0, 1, 1, 1, faceTextures, scrollingTop ? skipTop : 0, textureStepU, textureStepV, scroll);
        glEndList();
        compiled = true;
    }

    // Seen from inside: the faces point away from the viewer.
    glDisable(GL_CULL_FACE);
    // Scale and position stay outside the list, so they can change at any time.
    glTranslatef(position[0], position[1], position[2]);
    glScalef(scaleX, scaleY, scaleZ);
    material.apply();
    if (!geometryLeftOut()) glCallList(displayList);

    if (scrollingTop) {
        material.apply();
        faceTextures[Top].bind();
        // The top row of the face table, its t coordinate moved by the scroll.
        const BoxFace& top = boxFaces[5];
        const double o = scroll.top;
        const double texCoords[4][2] = {{0, o + 1}, {1, o + 1}, {1, o}, {0, o}};
        if (!geometryLeftOut()) {
            glBegin(GL_QUADS);
            for (int corner = 0; corner < 4; ++corner) {
                glNormal3f(0, 1, 0);
                glTexCoord2d(texCoords[corner][0], texCoords[corner][1]);
                glVertex3f(top.corners[corner][0], top.corners[corner][1], top.corners[corner][2]);
            }
            glEnd();
        }
        scroll.top += topScrollSpeed / 5000.0f;
    }

    resetRenderState();
}

void drawBoxFaces(float x, float y, float z, float scaleX, float scaleY, float scaleZ, const Texture textures[6],
                  FaceSkipMask skip, float stepU, float stepV, SkyBoxScroll& scroll) {
    glPushMatrix();
    glScalef(scaleX, scaleY, scaleZ);
    glTranslatef(x, y, z);
    for (const BoxFace& face : boxFaces) {
        if (skip & face.skip) continue;
        textures[face.slot].bind();
        glBegin(GL_QUADS);
        for (int corner = 0; corner < 4; ++corner) {
            glNormal3f(face.normal[0], face.normal[1], face.normal[2]);
            glTexCoord2d(quadTexCoords[corner][0] + scroll.faceU, quadTexCoords[corner][1] + scroll.faceV);
            glVertex3f(face.corners[corner][0], face.corners[corner][1], face.corners[corner][2]);
        }
        glEnd();
    }
    glPopMatrix();
    scroll.faceU += stepU;
    scroll.faceV += stepV;
}
