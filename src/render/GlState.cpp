#include "render/GlState.h"

namespace {

// Everything a routine of the show switches on or off.
constexpr GLenum kCapabilities[] = {
    GL_TEXTURE_2D,     GL_BLEND,        GL_LIGHTING,   GL_LIGHT0,        GL_LIGHT1,
    GL_LIGHT2,         GL_LIGHT3,       GL_LIGHT4,     GL_LIGHT5,        GL_LIGHT6,
    GL_LIGHT7,         GL_CULL_FACE,    GL_DEPTH_TEST, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T,
    GL_COLOR_MATERIAL, GL_NORMALIZE,    GL_FOG,        GL_ALPHA_TEST,    GL_POLYGON_OFFSET_FILL,
    GL_LINE_SMOOTH,    GL_POINT_SMOOTH, GL_DITHER,
};

void setEnabled(GLenum capability, GLboolean on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

}  // namespace

GlState GlState::save() {
    GlState s;
    for (const GLenum capability : kCapabilities) s.enabled.push_back(glIsEnabled(capability));
    for (GLenum i = 0; i < 8; ++i) {
        LightValues& l = s.lights[i];
        const GLenum light = GL_LIGHT0 + i;
        glGetLightfv(light, GL_AMBIENT, l.ambient);
        glGetLightfv(light, GL_DIFFUSE, l.diffuse);
        glGetLightfv(light, GL_SPECULAR, l.specular);
        glGetLightfv(light, GL_POSITION, l.position);
        glGetLightfv(light, GL_SPOT_DIRECTION, l.spotDirection);
        glGetLightfv(light, GL_SPOT_EXPONENT, &l.spotExponent);
        glGetLightfv(light, GL_SPOT_CUTOFF, &l.spotCutoff);
        glGetLightfv(light, GL_CONSTANT_ATTENUATION, &l.constant);
        glGetLightfv(light, GL_LINEAR_ATTENUATION, &l.linear);
        glGetLightfv(light, GL_QUADRATIC_ATTENUATION, &l.quadratic);
    }
    const GLenum faces[2] = {GL_FRONT, GL_BACK};
    for (int i = 0; i < 2; ++i) {
        MaterialValues& m = s.materials[i];
        glGetMaterialfv(faces[i], GL_AMBIENT, m.ambient);
        glGetMaterialfv(faces[i], GL_DIFFUSE, m.diffuse);
        glGetMaterialfv(faces[i], GL_SPECULAR, m.specular);
        glGetMaterialfv(faces[i], GL_EMISSION, m.emission);
        glGetMaterialfv(faces[i], GL_SHININESS, &m.shininess);
    }
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, s.lightModelAmbient);
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &s.lightModelTwoSide);
    glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &s.lightModelLocalViewer);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.texture);
    glGetIntegerv(GL_BLEND_SRC, &s.blendSource);
    glGetIntegerv(GL_BLEND_DST, &s.blendDestination);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &s.textureEnvMode);
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &s.textureGenS);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &s.textureGenT);
    glGetIntegerv(GL_SHADE_MODEL, &s.shadeModel);
    glGetIntegerv(GL_DEPTH_FUNC, &s.depthFunction);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
    glGetIntegerv(GL_CULL_FACE_MODE, &s.cullFace);
    glGetIntegerv(GL_FRONT_FACE, &s.frontFace);
    glGetIntegerv(GL_POLYGON_MODE, s.polygonModes);
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &s.colorMaterialFace);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &s.colorMaterialMode);
    glGetFloatv(GL_CURRENT_COLOR, s.color);
    glGetFloatv(GL_CURRENT_NORMAL, s.normal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, s.textureCoordinates);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, s.clearColor);
    glGetFloatv(GL_TEXTURE_MATRIX, s.textureMatrix);
    return s;
}

void GlState::restore() const {
    for (std::size_t i = 0; i < enabled.size(); ++i) setEnabled(kCapabilities[i], enabled[i]);
    // Positions and directions are kept in eye coordinates: sent again under
    // the identity, they stay where they were.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (GLenum i = 0; i < 8; ++i) {
        const LightValues& l = lights[i];
        const GLenum light = GL_LIGHT0 + i;
        glLightfv(light, GL_AMBIENT, l.ambient);
        glLightfv(light, GL_DIFFUSE, l.diffuse);
        glLightfv(light, GL_SPECULAR, l.specular);
        glLightfv(light, GL_POSITION, l.position);
        glLightfv(light, GL_SPOT_DIRECTION, l.spotDirection);
        glLightf(light, GL_SPOT_EXPONENT, l.spotExponent);
        glLightf(light, GL_SPOT_CUTOFF, l.spotCutoff);
        glLightf(light, GL_CONSTANT_ATTENUATION, l.constant);
        glLightf(light, GL_LINEAR_ATTENUATION, l.linear);
        glLightf(light, GL_QUADRATIC_ATTENUATION, l.quadratic);
    }
    const GLenum faces[2] = {GL_FRONT, GL_BACK};
    for (int i = 0; i < 2; ++i) {
        const MaterialValues& m = materials[i];
        glMaterialfv(faces[i], GL_AMBIENT, m.ambient);
        glMaterialfv(faces[i], GL_DIFFUSE, m.diffuse);
        glMaterialfv(faces[i], GL_SPECULAR, m.specular);
        glMaterialfv(faces[i], GL_EMISSION, m.emission);
        glMaterialf(faces[i], GL_SHININESS, m.shininess);
    }
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, lightModelAmbient);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, lightModelTwoSide);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, lightModelLocalViewer);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
    glBlendFunc(static_cast<GLenum>(blendSource), static_cast<GLenum>(blendDestination));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, textureEnvMode);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, textureGenS);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, textureGenT);
    glShadeModel(static_cast<GLenum>(shadeModel));
    glDepthFunc(static_cast<GLenum>(depthFunction));
    glDepthMask(depthMask);
    glCullFace(static_cast<GLenum>(cullFace));
    glFrontFace(static_cast<GLenum>(frontFace));
    glPolygonMode(GL_FRONT, static_cast<GLenum>(polygonModes[0]));
    glPolygonMode(GL_BACK, static_cast<GLenum>(polygonModes[1]));
    glColorMaterial(static_cast<GLenum>(colorMaterialFace), static_cast<GLenum>(colorMaterialMode));
    glColor4fv(color);
    glNormal3fv(normal);
    glTexCoord4fv(textureCoordinates);
    glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(textureMatrix);
    glMatrixMode(GL_MODELVIEW);
}
