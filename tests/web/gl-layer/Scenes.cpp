#include "Scenes.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "render/GlState.h"
#include "render/Material.h"
#include "render/Mipmaps.h"
#include "render/RenderState.h"
#include "render/UnitQuad.h"
#include "scenes/Tumble.h"

int sceneWidth = 320, sceneHeight = 240;

namespace {

constexpr float kPi = 3.14159265358979f;

// --- shared helpers -------------------------------------------------------

void setPerspective() {
    glViewport(0, 0, sceneWidth, sceneHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50.0, static_cast<double>(sceneWidth) / sceneHeight, 1.0, 100.0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The state every scene starts from, whatever the last frame left.
void baseState(float r = 0.1f, float g = 0.12f, float b = 0.18f) {
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_NORMALIZE);
    glDisable(GL_FOG);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1, 1, 1, 1);
    setPerspective();
}

// A procedural picture: stripes, a checker and a gradient, so that texture
// coordinates and filtering show.
std::vector<std::uint8_t> picture(int w, int h, int components, int seed) {
    std::vector<std::uint8_t> p(static_cast<std::size_t>(w) * h * components);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* t = &p[(static_cast<std::size_t>(y) * w + x) * components];
            const bool check = ((x * 8 / w) + (y * 8 / h)) % 2 == 0;
            t[0] = static_cast<std::uint8_t>(check ? 230 : 40 + (x * 180 / w));
            t[1] = static_cast<std::uint8_t>((y * 255 / h + seed * 60) % 256);
            t[2] = static_cast<std::uint8_t>(((x + y) * 4 + seed * 90) % 256);
            if (components == 4) {
                const float dx = (x + 0.5f) / w - 0.5f, dy = (y + 0.5f) / h - 0.5f;
                const float d = std::sqrt(dx * dx + dy * dy) * 2;
                t[3] = static_cast<std::uint8_t>(d >= 1 ? 0 : (1 - d) * 255);
            }
        }
    }
    return p;
}

GLuint makeTexture(int w, int h, int components, int seed, bool mipmaps = true) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const std::vector<std::uint8_t> p = picture(w, h, components, seed);
    const GLenum format = components == 4 ? GL_RGBA : GL_RGB;
    if (mipmaps) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, w, h, format, GL_UNSIGNED_BYTE, p.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, components, w, h, 0, format, GL_UNSIGNED_BYTE, p.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

void light(GLenum which, float x, float y, float z, float w, float r, float g, float b) {
    const GLfloat position[] = {x, y, z, w};
    const GLfloat diffuse[] = {r, g, b, 1};
    const GLfloat specular[] = {r, g, b, 1};
    const GLfloat ambient[] = {0.1f * r, 0.1f * g, 0.1f * b, 1};
    glLightfv(which, GL_POSITION, position);
    glLightfv(which, GL_DIFFUSE, diffuse);
    glLightfv(which, GL_SPECULAR, specular);
    glLightfv(which, GL_AMBIENT, ambient);
    glEnable(which);
}

void material(float r, float g, float b, float shininess, float emission = 0, GLenum face = GL_FRONT_AND_BACK) {
    const GLfloat ambient[] = {0.3f * r, 0.3f * g, 0.3f * b, 1};
    const GLfloat diffuse[] = {r, g, b, 1};
    const GLfloat specular[] = {0.8f, 0.8f, 0.8f, 1};
    const GLfloat glow[] = {emission, emission * 0.5f, 0, 1};
    glMaterialfv(face, GL_AMBIENT, ambient);
    glMaterialfv(face, GL_DIFFUSE, diffuse);
    glMaterialfv(face, GL_SPECULAR, specular);
    glMaterialfv(face, GL_EMISSION, glow);
    glMaterialf(face, GL_SHININESS, shininess);
}

// A UV sphere as quads, its normals the unit radius.
void sphereQuads(float radius, int slices, int stacks) {
    glBegin(GL_QUADS);
    for (int i = 0; i < stacks; ++i) {
        const float a0 = kPi * i / stacks - kPi / 2, a1 = kPi * (i + 1) / stacks - kPi / 2;
        for (int j = 0; j < slices; ++j) {
            const float b0 = 2 * kPi * j / slices, b1 = 2 * kPi * (j + 1) / slices;
            const float corners[4][2] = {{a0, b0}, {a0, b1}, {a1, b1}, {a1, b0}};
            for (const auto& c : corners) {
                const float x = std::cos(c[0]) * std::cos(c[1]), y = std::sin(c[0]),
                            z = -std::cos(c[0]) * std::sin(c[1]);
                glNormal3f(x, y, z);
                glTexCoord2f(c[1] / (2 * kPi), c[0] / kPi + 0.5f);
                glVertex3f(radius * x, radius * y, radius * z);
            }
        }
    }
    glEnd();
}

// The same sphere as quad strips, one per stack.
void sphereStrips(float radius, int slices, int stacks) {
    for (int i = 0; i < stacks; ++i) {
        const float a0 = kPi * i / stacks - kPi / 2, a1 = kPi * (i + 1) / stacks - kPi / 2;
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j <= slices; ++j) {
            const float b = 2 * kPi * j / slices;
            for (const float a : {a1, a0}) {
                const float x = std::cos(a) * std::cos(b), y = std::sin(a), z = -std::cos(a) * std::sin(b);
                glNormal3f(x, y, z);
                glVertex3f(radius * x, radius * y, radius * z);
            }
        }
        glEnd();
    }
}

// A torus as triangle strips, each vertex coloured by where it is.
void torusStrips(float major, float minor, int rings, int sides, bool colours) {
    for (int i = 0; i < rings; ++i) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int j = 0; j <= sides; ++j) {
            for (int k = 1; k >= 0; --k) {
                const float u = 2 * kPi * (i + k) / rings, v = 2 * kPi * j / sides;
                const float nx = std::cos(v) * std::cos(u), ny = std::cos(v) * std::sin(u), nz = std::sin(v);
                if (colours) glColor4f(0.5f + 0.5f * std::cos(u), 0.5f + 0.5f * std::sin(3 * v), 0.6f, 1);
                glNormal3f(nx, ny, nz);
                glVertex3f((major + minor * std::cos(v)) * std::cos(u), (major + minor * std::cos(v)) * std::sin(u),
                           minor * std::sin(v));
            }
        }
        glEnd();
    }
}

// A lumpy lathe shape, like a chess piece of the show, as triangles with
// per-face material changes the way the show's models are compiled.
void latheTriangles(int segments, int rows, bool materials) {
    auto radius = [](float t) { return 0.45f + 0.25f * std::sin(t * 7.0f) + 0.2f * (1 - t); };
    auto point = [&](int i, int j, float* p, float* n) {
        const float t = static_cast<float>(j) / rows, a = 2 * kPi * i / segments;
        const float r = radius(t), dr = (radius(t + 0.01f) - radius(t - 0.01f)) / 0.02f;
        p[0] = r * std::cos(a), p[1] = t * 2.2f - 1.1f, p[2] = r * std::sin(a);
        // Normal of the surface of revolution.
        const float ny = -dr / 2.2f;
        const float len = std::sqrt(1 + ny * ny);
        n[0] = std::cos(a) / len, n[1] = ny / len, n[2] = std::sin(a) / len;
    };
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < segments; ++i) {
            float p[4][3], n[4][3];
            point(i, j, p[0], n[0]);
            point(i, j + 1, p[1], n[1]);
            point(i + 1, j + 1, p[2], n[2]);
            point(i + 1, j, p[3], n[3]);
            const int tris[2][3] = {{0, 1, 2}, {0, 2, 3}};
            for (const auto& tri : tris) {
                if (materials) {
                    const int m = (i / 4 + j / 3) % 3;
                    const GLfloat noAmbient[] = {0, 0, 0, 1};
                    const GLfloat diffuse[3][4] = {{0.9f, 0.3f, 0.2f, 1}, {0.2f, 0.8f, 0.3f, 1}, {0.3f, 0.4f, 0.9f, 1}};
                    const GLfloat specular[] = {0.6f, 0.6f, 0.6f, 1};
                    glMaterialfv(GL_FRONT, GL_AMBIENT, noAmbient);
                    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse[m]);
                    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
                    glMaterialf(GL_FRONT, GL_SHININESS, 10.0f + 30.0f * m);
                }
                // Counter-clockwise seen from outside.
                glBegin(GL_TRIANGLES);
                for (int k = 0; k < 3; ++k) {
                    glNormal3fv(n[tri[k]]);
                    glVertex3fv(p[tri[k]]);
                }
                glEnd();
            }
        }
    }
}

void quad2D(float x, float y, float w, float h, float s0 = 0, float t0 = 0, float s1 = 1, float t1 = 1) {
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(x, y);
    glTexCoord2f(s1, t0);
    glVertex2f(x + w, y);
    glTexCoord2f(s1, t1);
    glVertex2f(x + w, y + h);
    glTexCoord2f(s0, t1);
    glVertex2f(x, y + h);
    glEnd();
}

// --- scene: lights, materials and colour material -------------------------

void litInit() {}

void litDraw() {
    baseState();
    glEnable(GL_LIGHTING);
    const GLfloat sceneAmbient[] = {0.15f, 0.15f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, sceneAmbient);
    glTranslatef(0, 0, -6);
    // Two positional lights given under different modelviews.
    light(GL_LIGHT0, 2, 2, 3, 1, 1, 1, 1);
    glPushMatrix();
    glRotatef(40, 0, 1, 0);
    light(GL_LIGHT1, -3, -1, 1, 1, 0.9f, 0.5f, 0.2f);
    glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 0.15f);
    glLightf(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, 0.02f);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(-1.3f, 0, 0);
    glRotatef(30, 1, 0, 0);
    material(0.3f, 0.5f, 0.9f, 40);
    sphereQuads(1.0f, 24, 16);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(1.4f, 0.2f, 0);
    glRotatef(60, 1, 0.3f, 0);
    material(0.8f, 0.8f, 0.8f, 20, 0.05f);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    torusStrips(0.8f, 0.3f, 32, 16, true);
    glDisable(GL_COLOR_MATERIAL);
    glPopMatrix();
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHTING);
}

// --- scene: sphere map on a scaled model ---------------------------------

GLuint envTexture = 0;

void sphereMapInit() { envTexture = makeTexture(128, 128, 3, 1); }

void sphereMapDraw() {
    baseState(0.05f, 0.05f, 0.05f);
    glEnable(GL_LIGHTING);
    light(GL_LIGHT0, 0, 0.5f, 4, 1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, envTexture);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glTranslatef(0, 0, -5);
    glPushMatrix();
    glTranslatef(-1.1f, 0, 0);
    glRotatef(25, 1, 0, 0);
    latheTriangles(28, 20, true);
    glPopMatrix();
    // Scaled, its normals scaled too: GL_NORMALIZE is off, as in the show.
    glPushMatrix();
    glTranslatef(1.2f, 0, 0);
    glScalef(0.8f, 0.8f, 0.8f);
    glRotatef(-20, 1, 0, 1);
    material(0.9f, 0.9f, 0.9f, 60);
    sphereQuads(1.1f, 20, 14);
    glPopMatrix();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
}

// --- scene: eye-linear planes and the texture matrix ----------------------

GLuint gridTexture = 0;

void eyeLinearInit() { gridTexture = makeTexture(64, 64, 3, 2); }

void eyeLinearDraw() {
    baseState();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, gridTexture);
    glTranslatef(0, 0, -5);
    // Planes given under a turned modelview go into eye space with it.
    glPushMatrix();
    glRotatef(30, 0, 0, 1);
    const GLfloat sPlane[] = {0.5f, 0, 0, 0.5f};
    const GLfloat tPlane[] = {0, 0.5f, 0.2f, 0.5f};
    glTexGenfv(GL_S, GL_EYE_PLANE, sPlane);
    glTexGenfv(GL_T, GL_EYE_PLANE, tPlane);
    glPopMatrix();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glMatrixMode(GL_TEXTURE);
    glTranslatef(0.25f, 0.1f, 0);
    glRotatef(15, 0, 0, 1);
    glScalef(1.5f, 1.5f, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(-1.2f, 0, 0);
    glRotatef(35, 1, 1, 0);
    torusStrips(0.8f, 0.35f, 24, 12, true);
    glPopMatrix();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    // Without generation the texture matrix still moves given coordinates,
    // q included.
    glPushMatrix();
    glTranslatef(1.3f, 0, 0);
    glRotatef(-30, 0, 1, 0);
    glBegin(GL_QUADS);
    const GLfloat tc[4][4] = {{0, 0, 0, 1}, {2, 0, 0, 2}, {1, 1, 0, 1}, {0, 1.5f, 0, 1.5f}};
    const float v[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i) {
        glTexCoord4fv(tc[i]);
        glVertex2f(v[i][0], v[i][1]);
    }
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

// --- scene: display lists with state inside --------------------------------

GLuint listBase = 0;
GLuint faceTextures[3] = {};

void listsInit() {
    for (int i = 0; i < 3; ++i) faceTextures[i] = makeTexture(32, 32, 3, i + 3);
    listBase = glGenLists(4);
    // A model the way the show compiles one: a matrix, then per face a
    // material and a triangle; emission is left to the caller.
    glNewList(listBase, GL_COMPILE);
    glMultMatrixf(std::vector<GLfloat>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -0.2f, 0, 1}.data());
    latheTriangles(20, 12, true);
    glEndList();
    // A box of textured faces, a texture bound per face (the show's sky box).
    glNewList(listBase + 1, GL_COMPILE);
    glPushMatrix();
    glScalef(0.7f, 0.7f, 0.7f);
    const float faces[3][4][3] = {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                                  {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}},
                                  {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}};
    const float normals[3][3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    const double tex[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (int f = 0; f < 3; ++f) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, faceTextures[f]);
        glBegin(GL_QUADS);
        for (int k = 0; k < 4; ++k) {
            glNormal3f(normals[f][0], normals[f][1], normals[f][2]);
            glTexCoord2d(tex[k][0], tex[k][1]);
            glVertex3f(faces[f][k][0], faces[f][k][1], faces[f][k][2]);
        }
        glEnd();
    }
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glEndList();
    // A glyph the way the font makes one: bind, then a unit quad.
    glNewList(listBase + 2, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, faceTextures[2]);
    quad2D(0, 0, 1, 1);
    glEndList();
    // Nesting, a colour and a lighting switch inside.
    glNewList(listBase + 3, GL_COMPILE);
    glDisable(GL_LIGHTING);
    glColor4f(1, 0.8f, 0.2f, 1);
    glBegin(GL_TRIANGLES);
    glVertex3f(-0.5f, -0.5f, 0);
    glVertex3f(0.5f, -0.5f, 0);
    glColor4f(0.2f, 0.4f, 1, 1);
    glVertex3f(0, 0.5f, 0);
    glEnd();
    glTranslatef(0.3f, 0.3f, 0.1f);
    glCallList(listBase + 2);
    glEnable(GL_LIGHTING);
    glEndList();
}

void listsDraw() {
    baseState();
    glEnable(GL_LIGHTING);
    light(GL_LIGHT0, 1, 2, 3, 1, 1, 1, 1);
    glTranslatef(0, 0, -6);
    const GLfloat glow[] = {0.15f, 0.05f, 0.1f, 1};
    glMaterialfv(GL_FRONT, GL_EMISSION, glow);
    for (int i = 0; i < 3; ++i) {
        glPushMatrix();
        glTranslatef(-2.0f + 1.4f * i, 0.7f, 0);
        glRotatef(20.0f + 30.0f * i, 1, 0, 0);
        glScalef(0.6f, 0.6f, 0.6f);
        glCallList(listBase);
        glPopMatrix();
    }
    glPushMatrix();
    glTranslatef(2.1f, 0.6f, 0);
    glRotatef(35, 1, 1, 0);
    material(1, 1, 1, 0);
    glCallList(listBase + 1);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(0, -1.4f, 0);
    glColor4f(0.5f, 0.5f, 0.5f, 1);
    glCallList(listBase + 3);
    glPopMatrix();
    // The list set the colour: it stays set.
    glDisable(GL_LIGHTING);
    glBegin(GL_TRIANGLES);
    glVertex3f(-2.5f, -1.8f, 0);
    glVertex3f(-1.5f, -1.8f, 0);
    glVertex3f(-2.0f, -1.0f, 0);
    glEnd();
    // Glyphs in 2D, a translation between calls as the font prints.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, sceneWidth, sceneHeight, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(10, 200, 0);
    glScalef(24, 24, 1);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_FALSE);
    for (int i = 0; i < 5; ++i) {
        glCallList(listBase + 2);
        glTranslatef(1.2f, 0, 0);
    }
    glDepthMask(GL_TRUE);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHT0);
}

// --- scene: a 2D overlay of blended, alpha-tested, minified pictures -------

GLuint pictureTexture = 0, spriteTexture = 0, smallTexture = 0;

void overlayInit() {
    pictureTexture = makeTexture(640, 480, 3, 4);  // not a power of two: GLU scales it
    spriteTexture = makeTexture(64, 64, 4, 5);
    smallTexture = makeTexture(16, 16, 4, 6, false);
}

void overlayDraw() {
    baseState(0.3f, 0.2f, 0.1f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, sceneWidth, sceneHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    // Minified pictures: mipmaps at work.
    glBindTexture(GL_TEXTURE_2D, pictureTexture);
    quad2D(5, 5, 150, 110);
    quad2D(160, 10, 60, 45);
    quad2D(225, 10, 23, 17);
    glPushMatrix();
    glTranslatef(260, 60, 0);
    glRotatef(25, 0, 0, 1);
    quad2D(-30, -30, 60, 60, 0, 0, 3, 3);
    glPopMatrix();
    // Blended sprites, faded with the colour's alpha.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, spriteTexture);
    for (int i = 0; i < 5; ++i) {
        glColor4f(1, 1 - 0.15f * i, 0.5f + 0.1f * i, 1 - 0.17f * i);
        quad2D(10.0f + 40 * i, 125, 70, 70);
    }
    // Alpha test: only the sprite's middle stays.
    glDisable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glColor4f(1, 1, 1, 1);
    quad2D(230, 120, 80, 80);
    glDisable(GL_ALPHA_TEST);
    // Replace and decal, and additive blending.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(0.2f, 0.9f, 0.2f, 1);
    glBindTexture(GL_TEXTURE_2D, smallTexture);
    quad2D(10, 200, 35, 35);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    quad2D(50, 200, 35, 35);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.3f, 0.1f, 0.4f, 1);
    glBegin(GL_TRIANGLES);
    glVertex2i(100, 235);
    glVertex2i(200, 235);
    glVertex2i(150, 150);
    glEnd();
    glDisable(GL_BLEND);
}

// --- scene: wireframe through polygon mode, and line loops -----------------

GLuint wireList = 0;

void wireInit() {
    wireList = glGenLists(1);
    glNewList(wireList, GL_COMPILE);
    sphereQuads(0.8f, 12, 8);
    glEndList();
}

void wireDraw() {
    baseState(0, 0, 0);
    glTranslatef(0, 0, -5);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor4f(0.3f, 1, 0.4f, 1);
    glPushMatrix();
    glTranslatef(-1.4f, 0.5f, 0);
    glRotatef(30, 1, 0, 0);
    sphereQuads(0.9f, 14, 10);
    glPopMatrix();
    glColor4f(1, 0.6f, 0.2f, 1);
    glPushMatrix();
    glTranslatef(1.4f, 0.5f, 0);
    glRotatef(-20, 1, 1, 0);
    glCallList(wireList);
    glPopMatrix();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    // The show's wire models: each face a line loop.
    glColor4f(0.4f, 0.6f, 1, 1);
    glPushMatrix();
    glTranslatef(0, -1.2f, 0);
    glRotatef(60, 1, 0, 0);
    for (int i = 0; i < 10; ++i) {
        const float a = 2 * kPi * i / 10;
        glBegin(GL_LINE_LOOP);
        glVertex3f(0, 0, 0);
        glVertex3f(1.2f * std::cos(a), 1.2f * std::sin(a), 0);
        glVertex3f(1.2f * std::cos(a + 0.5f), 1.2f * std::sin(a + 0.5f), 0.3f);
        glEnd();
    }
    glPopMatrix();
}

// --- scene: glPushAttrib, and the show's own save and restore -------------

GLuint attribTexture = 0;

void attribInit() { attribTexture = makeTexture(64, 64, 3, 7); }

void attribDraw() {
    baseState();
    glEnable(GL_LIGHTING);
    light(GL_LIGHT0, 2, 2, 2, 0, 1, 0.9f, 0.8f);
    material(0.7f, 0.5f, 0.3f, 30);
    glTranslatef(0, 0, -6);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    {
        // Everything different inside.
        glDisable(GL_LIGHTING);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glDepthFunc(GL_ALWAYS);
        glDisable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        glColor4f(0.2f, 0.2f, 0.6f, 1);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, attribTexture);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        quad2D(-0.9f, -0.9f, 0.7f, 0.7f);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    glPopAttrib();
    glPushMatrix();
    glTranslatef(-1.2f, 0.3f, 0);
    sphereQuads(0.9f, 18, 12);
    glPopMatrix();

    // The show's GlState: read everything back, scramble it, put it back.
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, attribTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    const GLfloat ambient2[] = {0.3f, 0.1f, 0.1f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient2);
    light(GL_LIGHT2, -2, 1, 2, 1, 0.2f, 0.5f, 1);
    material(0.9f, 0.9f, 0.5f, 50, 0.1f);
    glMatrixMode(GL_TEXTURE);
    glRotatef(20, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    const GlState saved = GlState::save();
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT2);
    glDisable(GL_TEXTURE_GEN_S);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    material(0.1f, 0.1f, 0.1f, 1);
    const GLfloat darkness[] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, darkness);
    glLightfv(GL_LIGHT2, GL_DIFFUSE, darkness);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glShadeModel(GL_FLAT);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    saved.restore();
    glPopMatrix();
    glPushMatrix();
    glTranslatef(1.3f, 0, 0);
    glRotatef(40, 1, 0, 0);
    torusStrips(0.7f, 0.3f, 24, 12, false);
    glPopMatrix();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT2);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

// --- scene: matrix stacks ---------------------------------------------------

void matrixInit() {}

void arm(int depth) {
    if (depth == 0) return;
    glPushMatrix();
    glRotatef(25.0f + depth * 5, 0, 0, 1);
    glBegin(GL_QUADS);
    glColor4f(0.2f * depth, 1 - 0.1f * depth, 0.5f, 1);
    glVertex2f(0, -0.08f);
    glVertex2f(0.6f, -0.06f);
    glVertex2f(0.6f, 0.06f);
    glVertex2f(0, 0.08f);
    glEnd();
    glTranslatef(0.6f, 0, 0);
    glScalef(0.9f, 0.9f, 1);
    arm(depth - 1);
    glPopMatrix();
    glPushMatrix();
    glRotatef(-35, 0, 0, 1);
    glTranslatef(0.3f, 0, 0);
    glScalef(0.5f, 0.5f, 1);
    if (depth > 2) arm(depth - 2);
    glPopMatrix();
}

void matrixDraw() {
    baseState(0.05f, 0.1f, 0.05f);
    glDisable(GL_CULL_FACE);
    GLfloat m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1.5f, -1.2f, -5, 1};
    glLoadMatrixf(m);
    arm(8);
    GLfloat shear[16] = {1, 0.3f, 0, 0, 0.2f, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glLoadIdentity();
    glTranslatef(1.5f, 0.8f, -4);
    glMultMatrixf(shear);
    glColor4f(0.9f, 0.3f, 0.6f, 1);
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(0, 0);
    for (int i = 0; i <= 12; ++i) glVertex2f(0.7f * std::cos(i * kPi / 6), 0.7f * std::sin(i * kPi / 6));
    glEnd();
    // A projection pushed for an overlay and popped again.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor4f(1, 1, 0, 1);
    glBegin(GL_TRIANGLES);
    glVertex2f(0.6f, -0.95f);
    glVertex2f(0.95f, -0.95f);
    glVertex2f(0.95f, -0.6f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glColor4f(0.3f, 0.8f, 1, 1);
    glBegin(GL_POLYGON);
    for (int i = 0; i < 7; ++i)
        glVertex3f(0.5f * std::cos(i * 2 * kPi / 7), -1.2f + 0.5f * std::sin(i * 2 * kPi / 7), 0);
    glEnd();
}

// --- scene: flat shading, two-sided lighting, a spot light and fog --------

void extrasInit() {}

void extrasDraw() {
    baseState(0, 0, 0);
    glEnable(GL_LIGHTING);
    glTranslatef(0, 0, -5);
    light(GL_LIGHT0, 0, 3, 2, 1, 1, 1, 1);
    const GLfloat down[] = {0, -1, -0.6f};
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, down);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 40);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 8);
    light(GL_LIGHT3, -2, 0, 1, 0, 0.3f, 0.3f, 0.6f);  // directional
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    material(0.8f, 0.6f, 0.3f, 30, 0, GL_FRONT);
    material(0.2f, 0.7f, 0.9f, 10, 0, GL_BACK);
    glDisable(GL_CULL_FACE);
    // An open half torus: its inside shows the back material.
    glPushMatrix();
    glTranslatef(-1.2f, 0, 0);
    glRotatef(70, 1, 0, 0);
    glShadeModel(GL_FLAT);
    torusStrips(0.9f, 0.4f, 16, 10, false);
    glShadeModel(GL_SMOOTH);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(1.3f, -0.2f, -1);
    glEnable(GL_NORMALIZE);
    glScalef(1.5f, 0.7f, 1);
    sphereStrips(0.9f, 20, 12);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(0.2f, -1.4f, 0);
    glShadeModel(GL_FLAT);
    sphereQuads(0.5f, 10, 8);
    glShadeModel(GL_SMOOTH);
    glPopMatrix();
    // Fog at its default density is thick: only what is near shows.
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.35f, 0.3f, -1.6f);
    glEnable(GL_FOG);
    sphereQuads(0.25f, 16, 10);
    glDisable(GL_FOG);
    glDisable(GL_NORMALIZE);
    glPopMatrix();
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT3);
    glDisable(GL_LIGHTING);
}

// --- scene: a frame of the show's weight at the show's size ----------------
// A sky box list with a scrolling top, a sphere-mapped model of thousands of
// faces with per-face materials, a metaball surface in immediate mode, 300
// particles each with its own material and matrix, glyph lists and a faded
// full-screen picture.

GLuint loadSky = 0, loadModel = 0, loadGlyphs = 0;
GLuint loadFaces[3] = {}, loadEnv = 0, loadSmoke = 0, loadPicture = 0;

void loadInit() {
    for (int i = 0; i < 3; ++i) loadFaces[i] = makeTexture(256, 256, 3, 8 + i);
    loadEnv = makeTexture(256, 256, 3, 11);
    loadSmoke = makeTexture(64, 64, 3, 12);
    loadPicture = makeTexture(640, 480, 3, 13);
    loadSky = glGenLists(1);
    glNewList(loadSky, GL_COMPILE);
    const float faces[5][4][3] = {{{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
                                  {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}},
                                  {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                                  {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
                                  {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}};
    const double tex[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (int f = 0; f < 5; ++f) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, loadFaces[f % 3]);
        glBegin(GL_QUADS);
        for (int k = 0; k < 4; ++k) {
            glNormal3f(0, 0, 1);
            glTexCoord2d(tex[k][0], tex[k][1]);
            glVertex3f(faces[f][k][0], faces[f][k][1], faces[f][k][2]);
        }
        glEnd();
    }
    glEndList();
    loadModel = glGenLists(1);
    glNewList(loadModel, GL_COMPILE);
    latheTriangles(64, 48, true);  // 6144 triangles
    glEndList();
    loadGlyphs = glGenLists(4);
    for (int g = 0; g < 4; ++g) {
        glNewList(loadGlyphs + g, GL_COMPILE);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, loadFaces[g % 3]);
        quad2D(0, 0, 1, 1);
        glEndList();
    }
}

void loadDraw() {
    baseState(0, 0, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(65.0, 1.0, 1.5, 2000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    light(GL_LIGHT0, 0, 0.5f, -4, 1, 1, 1, 1);
    const GLfloat white[] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    // The sky box, seen from inside.
    glPushMatrix();
    glTranslatef(0, 0, -50);
    glRotatef(20, 0.3f, 1, 0.2f);
    glDisable(GL_CULL_FACE);
    glScalef(200, 100, 300);
    material(0.5f, 0.5f, 0.5f, 0);
    glCallList(loadSky);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, loadFaces[1]);
    glBegin(GL_QUADS);
    const float top[4][3] = {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}};
    const double scroll[4][2] = {{0, 1.3}, {1, 1.3}, {1, 0.3}, {0, 0.3}};
    for (int k = 0; k < 4; ++k) {
        glNormal3f(0, 1, 0);
        glTexCoord2d(scroll[k][0], scroll[k][1]);
        glVertex3f(top[k][0], top[k][1], top[k][2]);
    }
    glEnd();
    glPopMatrix();
    glEnable(GL_CULL_FACE);
    // The model, sphere-mapped.
    glBindTexture(GL_TEXTURE_2D, loadEnv);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    for (int i = 0; i < 2; ++i) {
        glPushMatrix();
        glTranslatef(-14.0f + 28 * i, -4, -60);
        glRotatef(30.0f + 50 * i, 0.4f, 1, 0.2f);
        glScalef(12, 12, 12);
        glCallList(loadModel);
        glPopMatrix();
    }
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    // A metaball surface: thousands of immediate-mode triangles.
    material(0.4f, 0.9f, 0.5f, 20);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(0, 12, -70);
    glScalef(9, 9, 9);
    glBegin(GL_TRIANGLES);
    const int slices = 48, stacks = 40;
    for (int i = 0; i < stacks; ++i) {
        for (int j = 0; j < slices; ++j) {
            float p[4][3], n[4][3];
            for (int c = 0; c < 4; ++c) {
                const int a = i + (c == 1 || c == 2), b = j + (c >= 2);
                const float u = kPi * a / stacks - kPi / 2, v = 2 * kPi * b / slices;
                const float r = 1 + 0.15f * std::sin(5 * v) * std::cos(3 * u);
                n[c][0] = std::cos(u) * std::cos(v), n[c][1] = std::sin(u), n[c][2] = -std::cos(u) * std::sin(v);
                for (int k = 0; k < 3; ++k) p[c][k] = r * n[c][k];
            }
            const int order[6] = {0, 3, 2, 0, 2, 1};
            for (int k : order) {
                glNormal3fv(n[k]);
                glVertex3fv(p[k]);
            }
        }
    }
    glEnd();
    glPopMatrix();
    // 300 particles, each its own material and matrix.
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, loadSmoke);
    for (int i = 0; i < 300; ++i) {
        glPushMatrix();
        glTranslatef(-40.0f + (i * 37 % 80), -25.0f + (i * 53 % 50), -90.0f + (i % 7));
        material(0.1f * (i % 10), 0.1f * (i / 10 % 10), 0.1f * (i / 100 % 10), static_cast<float>(i % 10),
                 0.1f * (i % 3));
        glScalef(2.5f, 2.5f, 2.5f);
        quad2D(0, 0, 1, 1);
        glPopMatrix();
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    // Text and a faded picture in 2D.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glTranslatef(40, 400, 0);
    glScalef(20, 20, 1);
    for (int c = 0; c < 30; ++c) {
        glCallList(loadGlyphs + c % 4);
        glTranslatef(1, 0, 0);
    }
    glPopMatrix();
    glBindTexture(GL_TEXTURE_2D, loadPicture);
    glColor4f(1, 1, 1, 0.3f);
    quad2D(0, 0, 640, 480);
    glColor4f(1, 1, 1, 1);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// --- scene: the show's own drawing code on the layer ------------------------
// Its mipmaps (a power-of-two picture by its own halving, another through
// GLU), its materials, its 2D overlay and render-state reset, its unit quad
// and its tumble, as a frame of the show calls them.

GLuint showPot = 0, showNpot = 0;

GLuint showTexture(int w, int h, int components, int seed) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const std::vector<std::uint8_t> p = picture(w, h, components, seed);
    buildMipmaps(components, w, h, components == 4 ? GL_RGBA : GL_RGB, p.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

void showInit() {
    showPot = showTexture(128, 64, 3, 14);
    showNpot = showTexture(150, 480, 4, 15);
}

void showDraw() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, sceneWidth, sceneHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(65.0, 1.0, 1.5, 2000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    resetRenderState();
    light(GL_LIGHT0, 0, 0.5f, -4, 1, 1, 1, 1);
    const GLfloat white[] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    Material shiny;
    shiny.setAmbient(0.2f, 0.1f, 0.1f, 1);
    shiny.setDiffuse(0.9f, 0.6f, 0.3f, 1);
    shiny.setSpecular(1, 1, 1, 1);
    shiny.setShininess(40, 0, 0, 1);
    glPushMatrix();
    glTranslatef(-2.5f, 0, -8);
    applyTumble(37);
    shiny.apply();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, showPot);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    sphereQuads(1.6f, 20, 14);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(2.5f, 0, -8);
    applyTumble(80);
    glScalef(2, 2, 2);
    defaultMaterial().apply();
    glDisable(GL_CULL_FACE);
    drawTexturedUnitQuad();
    glPopMatrix();
    // A strip picture over it, faded, the way Picture::draw puts one up.
    enter2D(0, 0, 640, 480);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 0.7f);
    glBindTexture(GL_TEXTURE_2D, showNpot);
    glTranslatef(20, 0, 0);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2i(0, 480);
    glTexCoord2f(1, 1);
    glVertex2i(150, 480);
    glTexCoord2f(1, 0);
    glVertex2i(150, 0);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glEnd();
    resetRenderState();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
}

}  // namespace

const Scene kScenes[] = {
    {"lights", litInit, litDraw},
    {"sphere-map", sphereMapInit, sphereMapDraw},
    {"eye-linear", eyeLinearInit, eyeLinearDraw},
    {"display-lists", listsInit, listsDraw},
    {"overlay-2d", overlayInit, overlayDraw},
    {"wireframe", wireInit, wireDraw},
    {"attributes", attribInit, attribDraw},
    {"matrices", matrixInit, matrixDraw},
    {"flat-twoside-spot-fog", extrasInit, extrasDraw},
    {"show-load-640x480", loadInit, loadDraw, 640, 480},
    {"show-code", showInit, showDraw},
};
const int kSceneCount = sizeof kScenes / sizeof kScenes[0];
