#include "Probes.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <vector>

namespace {

std::string out;

void line(const char* probe, const char* what, const std::vector<double>& values) {
    out += probe;
    out += '.';
    out += what;
    out += ':';
    char buffer[32];
    for (double v : values) {
        // Five figures: the layer and Mesa round a turn's sine apart.
        std::snprintf(buffer, sizeof buffer, " %.5g", v == 0 ? 0.0 : v);
        out += buffer;
    }
    out += '\n';
}

void floats(const char* probe, const char* what, GLenum pname, int n) {
    GLfloat v[16] = {};
    glGetFloatv(pname, v);
    line(probe, what, std::vector<double>(v, v + n));
}

void ints(const char* probe, const char* what, GLenum pname, int n) {
    GLint v[16] = {};
    glGetIntegerv(pname, v);
    line(probe, what, std::vector<double>(v, v + n));
}

void boolean(const char* probe, const char* what, GLenum pname) {
    GLboolean v = 7;
    glGetBooleanv(pname, &v);
    line(probe, what, {static_cast<double>(v)});
}

void enabled(const char* probe, const char* what, GLenum cap) {
    line(probe, what, {static_cast<double>(glIsEnabled(cap))});
}

void error(const char* probe, const char* what) { line(probe, what, {static_cast<double>(glGetError())}); }

void lightv(const char* probe, const char* what, GLenum light, GLenum pname, int n) {
    GLfloat v[4] = {};
    glGetLightfv(light, pname, v);
    line(probe, what, std::vector<double>(v, v + n));
}

void materialv(const char* probe, const char* what, GLenum face, GLenum pname, int n) {
    GLfloat v[4] = {};
    glGetMaterialfv(face, pname, v);
    line(probe, what, std::vector<double>(v, v + n));
}

// --- the probes -------------------------------------------------------------

void defaults(const char* p) {
    const GLenum caps[] = {GL_TEXTURE_2D, GL_BLEND,      GL_LIGHTING,      GL_LIGHT0,         GL_LIGHT1,
                           GL_CULL_FACE,  GL_DEPTH_TEST, GL_TEXTURE_GEN_S, GL_COLOR_MATERIAL, GL_NORMALIZE,
                           GL_FOG,        GL_ALPHA_TEST, GL_DITHER,        GL_SCISSOR_TEST,   GL_POLYGON_OFFSET_FILL};
    std::vector<double> on;
    for (GLenum cap : caps) on.push_back(glIsEnabled(cap));
    line(p, "enabled", on);
    lightv(p, "light0.diffuse", GL_LIGHT0, GL_DIFFUSE, 4);
    lightv(p, "light1.diffuse", GL_LIGHT1, GL_DIFFUSE, 4);
    lightv(p, "light1.position", GL_LIGHT1, GL_POSITION, 4);
    lightv(p, "light1.spot", GL_LIGHT1, GL_SPOT_DIRECTION, 3);
    lightv(p, "light1.cutoff", GL_LIGHT1, GL_SPOT_CUTOFF, 1);
    lightv(p, "light1.constant", GL_LIGHT1, GL_CONSTANT_ATTENUATION, 1);
    materialv(p, "front.ambient", GL_FRONT, GL_AMBIENT, 4);
    materialv(p, "back.diffuse", GL_BACK, GL_DIFFUSE, 4);
    materialv(p, "front.shininess", GL_FRONT, GL_SHININESS, 1);
    floats(p, "lightModelAmbient", GL_LIGHT_MODEL_AMBIENT, 4);
    ints(p, "twoSide", GL_LIGHT_MODEL_TWO_SIDE, 1);
    ints(p, "blend", GL_BLEND_SRC, 1);
    ints(p, "blendDst", GL_BLEND_DST, 1);
    ints(p, "shadeModel", GL_SHADE_MODEL, 1);
    ints(p, "depthFunc", GL_DEPTH_FUNC, 1);
    boolean(p, "depthMask", GL_DEPTH_WRITEMASK);
    ints(p, "cullFace", GL_CULL_FACE_MODE, 1);
    ints(p, "frontFace", GL_FRONT_FACE, 1);
    ints(p, "polygonMode", GL_POLYGON_MODE, 2);
    ints(p, "colorMaterial", GL_COLOR_MATERIAL_FACE, 1);
    ints(p, "colorMaterialMode", GL_COLOR_MATERIAL_PARAMETER, 1);
    floats(p, "color", GL_CURRENT_COLOR, 4);
    floats(p, "normal", GL_CURRENT_NORMAL, 3);
    floats(p, "texCoord", GL_CURRENT_TEXTURE_COORDS, 4);
    floats(p, "clear", GL_COLOR_CLEAR_VALUE, 4);
    ints(p, "viewport", GL_VIEWPORT, 4);
    ints(p, "matrixMode", GL_MATRIX_MODE, 1);
    ints(p, "depths", GL_MODELVIEW_STACK_DEPTH, 1);
    ints(p, "texture", GL_TEXTURE_BINDING_2D, 1);
    ints(p, "alphaFunc", GL_ALPHA_TEST_FUNC, 1);
    ints(p, "unpack", GL_UNPACK_ALIGNMENT, 1);
    ints(p, "maxLights", GL_MAX_LIGHTS, 1);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    line(p, "texEnv", {static_cast<double>(mode)});
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
    line(p, "texGenT", {static_cast<double>(mode)});
    error(p, "error");
}

void matrices(const char* p) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(65.0, 4.0 / 3.0, 1.5, 2000.0);
    floats(p, "perspective", GL_PROJECTION_MATRIX, 16);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, 0, 1);
    floats(p, "ortho", GL_PROJECTION_MATRIX, 16);
    ints(p, "projectionDepth", GL_PROJECTION_STACK_DEPTH, 1);
    glPopMatrix();
    ints(p, "projectionDepthAfter", GL_PROJECTION_STACK_DEPTH, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glRotatef(30, 1, 1, 0);
    glScalef(2, 0.5f, 1);
    floats(p, "modelview", GL_MODELVIEW_MATRIX, 16);
    const GLfloat m[16] = {1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1};
    glMultMatrixf(m);
    floats(p, "multiplied", GL_MODELVIEW_MATRIX, 16);
    glPushMatrix();
    glPushMatrix();
    ints(p, "modelviewDepth", GL_MODELVIEW_STACK_DEPTH, 1);
    glLoadMatrixf(m);
    floats(p, "loaded", GL_MODELVIEW_MATRIX, 16);
    glPopMatrix();
    glPopMatrix();
    glPopMatrix();
    error(p, "underflow");
    glMatrixMode(GL_TEXTURE);
    glRotatef(90, 0, 0, 1);
    floats(p, "texture", GL_TEXTURE_MATRIX, 16);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void lights(const char* p) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -10);
    glRotatef(90, 0, 1, 0);
    const GLfloat position[] = {1, 2, 3, 1};
    const GLfloat direction[] = {0, 0, -1, 0};
    glLightfv(GL_LIGHT2, GL_POSITION, position);
    glLightfv(GL_LIGHT2, GL_SPOT_DIRECTION, direction);
    glLightf(GL_LIGHT2, GL_SPOT_CUTOFF, 45);
    glLightf(GL_LIGHT2, GL_LINEAR_ATTENUATION, 0.5f);
    lightv(p, "eyePosition", GL_LIGHT2, GL_POSITION, 4);
    lightv(p, "eyeSpot", GL_LIGHT2, GL_SPOT_DIRECTION, 3);
    lightv(p, "cutoff", GL_LIGHT2, GL_SPOT_CUTOFF, 1);
    lightv(p, "linear", GL_LIGHT2, GL_LINEAR_ATTENUATION, 1);
    glLightf(GL_LIGHT2, GL_SPOT_CUTOFF, 100);
    error(p, "badCutoff");
    glLightf(GL_LIGHT2, GL_SPOT_EXPONENT, 129);
    error(p, "badExponent");
    lightv(p, "cutoffKept", GL_LIGHT2, GL_SPOT_CUTOFF, 1);
    glMaterialf(GL_FRONT, GL_SHININESS, 200);
    error(p, "badShininess");
    const GLfloat red[] = {1, 0, 0, 0.5f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, red);
    materialv(p, "backAmbient", GL_BACK, GL_AMBIENT, 4);
    materialv(p, "frontDiffuse", GL_FRONT, GL_DIFFUSE, 4);
    glColor4f(0.25f, 0.5f, 0.75f, 1);
    glColorMaterial(GL_FRONT, GL_EMISSION);
    glEnable(GL_COLOR_MATERIAL);
    materialv(p, "trackedEmission", GL_FRONT, GL_EMISSION, 4);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    materialv(p, "trackedAgain", GL_FRONT, GL_EMISSION, 4);
    materialv(p, "backUntracked", GL_BACK, GL_EMISSION, 4);
    glDisable(GL_COLOR_MATERIAL);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    boolean(p, "twoSide", GL_LIGHT_MODEL_TWO_SIDE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    glLoadIdentity();
    error(p, "error");
}

void colours(const char* p) {
    glColor4f(1, 0.5f, 0, -1);
    ints(p, "colorAsInt", GL_CURRENT_COLOR, 4);
    floats(p, "colorAsFloat", GL_CURRENT_COLOR, 4);
    glClearColor(2, -1, 0.5f, 1);
    floats(p, "clearClamped", GL_COLOR_CLEAR_VALUE, 4);
    glNormal3f(0, 0.5f, -1);
    ints(p, "normalAsInt", GL_CURRENT_NORMAL, 3);
    glTexCoord2d(0.25, 4);
    floats(p, "texCoord", GL_CURRENT_TEXTURE_COORDS, 4);
    boolean(p, "lightingAsBoolean", GL_LIGHTING);
    glEnable(GL_BLEND);
    floats(p, "blendAsFloat", GL_BLEND, 1);
    glDisable(GL_BLEND);
    glAlphaFunc(GL_GEQUAL, 1.5f);
    floats(p, "alphaRefClamped", GL_ALPHA_TEST_REF, 1);
    glAlphaFunc(GL_ALWAYS, 0);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 0);
}

void errors(const char* p) {
    glEnable(0x1234);
    error(p, "enableBad");
    error(p, "cleared");
    glBegin(GL_TRIANGLES);
    glBegin(GL_TRIANGLES);
    glEnd();
    error(p, "beginTwice");
    glBegin(GL_TRIANGLES);
    glEnable(GL_BLEND);
    glEnd();
    error(p, "enableInsideBegin");
    enabled(p, "blendUnchanged", GL_BLEND);
    glEnd();
    error(p, "endAlone");
    glBlendFunc(GL_SRC_ALPHA, 0x1234);
    error(p, "badBlendFactor");
    glEndList();
    error(p, "endListAlone");
    glNewList(0, GL_COMPILE);
    error(p, "listZero");
    glMatrixMode(GL_TEXTURE);
    for (int i = 0; i < 12; ++i) glPushMatrix();
    error(p, "textureOverflow");
    ints(p, "textureDepth", GL_TEXTURE_STACK_DEPTH, 1);
    for (int i = 0; i < 12; ++i) glPopMatrix();
    error(p, "textureUnderflow");
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    error(p, "popAttribEmpty");
    glViewport(0, 0, -1, 10);
    error(p, "negativeViewport");
    glPolygonMode(GL_FRONT, GL_FRONT);
    error(p, "badPolygonMode");
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_LINEAR);
    error(p, "badEnvMode");
}

void attributes(const char* p) {
    glEnable(GL_LIGHTING);
    glColor4f(0.3f, 0.3f, 0.3f, 1);
    glDepthFunc(GL_LEQUAL);
    glViewport(1, 2, 30, 40);
    glMatrixMode(GL_PROJECTION);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    ints(p, "depth", GL_ATTRIB_STACK_DEPTH, 1);
    glDisable(GL_LIGHTING);
    glEnable(GL_FOG);
    glColor4f(1, 0, 0, 1);
    glDepthFunc(GL_GREATER);
    glViewport(0, 0, 5, 5);
    glMatrixMode(GL_MODELVIEW);
    glBlendFunc(GL_ONE, GL_ONE);
    glPolygonMode(GL_BACK, GL_LINE);
    const GLfloat green[] = {0, 1, 0, 1};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, green);
    glPopAttrib();
    enabled(p, "lighting", GL_LIGHTING);
    enabled(p, "fog", GL_FOG);
    floats(p, "color", GL_CURRENT_COLOR, 4);
    ints(p, "depthFunc", GL_DEPTH_FUNC, 1);
    ints(p, "viewport", GL_VIEWPORT, 4);
    ints(p, "matrixMode", GL_MATRIX_MODE, 1);
    ints(p, "blend", GL_BLEND_SRC, 1);
    ints(p, "polygonMode", GL_POLYGON_MODE, 2);
    materialv(p, "diffuse", GL_FRONT, GL_DIFFUSE, 4);
    ints(p, "depthAfter", GL_ATTRIB_STACK_DEPTH, 1);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glDepthFunc(GL_LESS);
    glColor4f(1, 1, 1, 1);
    error(p, "error");
}

void lists(const char* p) {
    const GLuint base = glGenLists(3);
    line(p, "consecutive", {static_cast<double>(glGenLists(1) == base + 3)});
    glNewList(base, GL_COMPILE);
    glColor4f(0.5f, 0.25f, 1, 1);
    const GLfloat blue[] = {0, 0, 1, 1};
    glMaterialfv(GL_FRONT, GL_EMISSION, blue);
    glEnable(GL_CULL_FACE);
    glTranslatef(1, 2, 3);
    glBegin(GL_TRIANGLES);
    glNormal3f(0, 1, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(1, 0, 0);
    glTexCoord2f(0.5f, 0.5f);
    glVertex3f(0, 1, 0);
    glEnd();
    glEndList();
    // Compiling ran nothing.
    floats(p, "colorWhileCompiled", GL_CURRENT_COLOR, 4);
    enabled(p, "cullWhileCompiled", GL_CULL_FACE);
    floats(p, "modelviewWhileCompiled", GL_MODELVIEW_MATRIX, 16);
    glNewList(base + 1, GL_COMPILE);
    glCallList(base);
    glScalef(2, 2, 2);
    glEndList();
    glCallList(base + 1);
    floats(p, "color", GL_CURRENT_COLOR, 4);
    floats(p, "normal", GL_CURRENT_NORMAL, 3);
    floats(p, "texCoord", GL_CURRENT_TEXTURE_COORDS, 4);
    materialv(p, "emission", GL_FRONT, GL_EMISSION, 4);
    enabled(p, "cull", GL_CULL_FACE);
    floats(p, "modelview", GL_MODELVIEW_MATRIX, 16);
    glCallList(base + 2);   // empty
    glCallList(base + 40);  // no such list
    error(p, "error");
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
    const GLfloat black[] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT, GL_EMISSION, black);
}

void textures(const char* p) {
    GLuint names[3] = {};
    glGenTextures(3, names);
    line(p, "distinct", {static_cast<double>(names[0] != names[1] && names[1] != names[2] && names[0] != 0)});
    glBindTexture(GL_TEXTURE_2D, names[1]);
    line(p, "bindingEnablesNothing", {static_cast<double>(glIsEnabled(GL_TEXTURE_2D))});
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    line(p, "binding", {static_cast<double>(static_cast<GLuint>(bound) == names[1])});
    std::vector<unsigned char> pixels(100 * 30 * 3, 128);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 100, 30, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<double> sizes;
    for (int level = 0; level < 9; ++level) {
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
        sizes.insert(sizes.end(), {static_cast<double>(w), static_cast<double>(h)});
    }
    line(p, "levels", sizes);
    ints(p, "unpackKept", GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGB, 4096, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    GLint w = -1;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    line(p, "proxyFits", {static_cast<double>(w)});
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGB, 1 << 16, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    line(p, "proxyTooBig", {static_cast<double>(w)});
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, names[2]);
    glPopAttrib();
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    line(p, "bindingRestored", {static_cast<double>(static_cast<GLuint>(bound) == names[1])});
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    line(p, "envMode", {static_cast<double>(mode)});
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
    line(p, "genMode", {static_cast<double>(mode)});
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    error(p, "error");
}

struct Probe {
    const char* name;
    void (*run)(const char*);
};

constexpr Probe kProbes[] = {
    {"defaults", defaults}, {"matrices", matrices},     {"lights", lights}, {"colours", colours},
    {"errors", errors},     {"attributes", attributes}, {"lists", lists},   {"textures", textures},
};

}  // namespace

std::string runProbes() {
    out.clear();
    for (const Probe& probe : kProbes) probe.run(probe.name);
    return out;
}
