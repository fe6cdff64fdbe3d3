// One fixed-function OpenGL light. A light takes the next slot by the number
// of lights alive when it is built and sends each parameter as it is set, so
// the values OpenGL holds are always the ones stored here.
#pragma once

#include "platform/LiveInstances.h"

#include <GL/gl.h>

class Light : platform::LiveInstances<Light> {
public:
    // White ambient and diffuse, no specular, at (0, 0.5, -4); sent at once.
    Light();
    // Diffuse colour and position only; nothing is sent until a setter or enable.
    Light(float r, float g, float b, float a, float x, float y, float z);
    ~Light();
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    void setAmbient(float r, float g, float b, float a);
    void setDiffuse(float r, float g, float b, float a);
    void setSpecular(float r, float g, float b, float a);
    // Always a positional light (w = 1), placed by the current modelview matrix.
    void setPosition(float x, float y, float z);

    // Switches the light on and sends all four values again, so the position
    // is taken under the modelview matrix current now.
    void enable();
    void disable();

    GLenum getSlot() const { return slot; }

    // The values stored here, as a show state carries them. Putting them
    // back sends nothing: OpenGL's own copy is restored with its state.
    struct Values {
        GLfloat diffuse[4], ambient[4], specular[4], position[4];
    };
    Values getValues() const;
    void setValues(const Values& saved);

private:
    void send(GLenum what, const GLfloat* values) const;
    static GLenum takeSlot();

    GLfloat diffuse[4];
    GLfloat ambient[4];
    GLfloat specular[4];
    GLfloat position[4];
    GLenum slot;
};
