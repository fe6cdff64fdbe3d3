// Fixed-function material colours, owned by value by every effect and by the
// default render state, and sent to OpenGL by apply().
#pragma once

#include <GL/gl.h>

class Material {
public:
    Material();

    void setAmbient(float r, float g, float b, float a);
    void setDiffuse(float r, float g, float b, float a);
    void setSpecular(float r, float g, float b, float a);
    void setEmission(float r, float g, float b, float a);
    // Only the first value reaches OpenGL: the specular exponent.
    void setShininess(float exponent, float b, float c, float d);
    void setFace(GLenum face);

    // GL_BACK stands for both faces: the record switches to GL_FRONT_AND_BACK
    // on the first apply and keeps it.
    void apply();

    GLenum getFace() const { return face; }

private:
    GLfloat ambient[4];
    GLfloat diffuse[4];
    GLfloat specular[4];
    GLfloat shininess[4];
    GLfloat emission[4];
    GLenum face;
};
