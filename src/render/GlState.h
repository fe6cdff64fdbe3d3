// The OpenGL state that outlives a frame: what the show's routines leave set
// for the next one (texturing, the bound texture, the blend function, the
// lights and materials, the texture matrix). Saved between frames and put
// back, it makes a restored show state draw exactly as it did when saved.
// The view (viewport, projection) is the window's and stays as it is; the
// modelview is loaded afresh by every frame.
#pragma once

#include <GL/gl.h>

#include <array>
#include <vector>

class GlState {
public:
    // Reads the state of the current context.
    static GlState save();
    // Sets it again on the current context.
    void restore() const;

private:
    struct LightValues {
        GLfloat ambient[4], diffuse[4], specular[4], position[4], spotDirection[3];
        GLfloat spotExponent, spotCutoff, constant, linear, quadratic;
    };
    struct MaterialValues {
        GLfloat ambient[4], diffuse[4], specular[4], emission[4], shininess;
    };

    std::vector<GLboolean> enabled;  // one per capability in the list the .cpp keeps
    std::array<LightValues, 8> lights{};
    std::array<MaterialValues, 2> materials{};  // front, back
    GLfloat lightModelAmbient[4]{};
    GLint lightModelTwoSide = 0;
    GLint lightModelLocalViewer = 0;
    GLint texture = 0;
    GLint blendSource = GL_ONE, blendDestination = GL_ZERO;
    GLint textureEnvMode = GL_MODULATE;
    GLint textureGenS = GL_EYE_LINEAR, textureGenT = GL_EYE_LINEAR;
    GLint shadeModel = GL_SMOOTH;
    GLint depthFunction = GL_LESS;
    GLboolean depthMask = GL_TRUE;
    GLint cullFace = GL_BACK, frontFace = GL_CCW;
    GLint polygonModes[2] = {GL_FILL, GL_FILL};
    GLint colorMaterialFace = GL_FRONT_AND_BACK, colorMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    GLfloat color[4]{}, normal[3]{}, textureCoordinates[4]{};
    GLfloat clearColor[4]{};
    GLfloat textureMatrix[16]{};
};
