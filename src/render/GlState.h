// The OpenGL state that outlives a frame: what the show's routines leave set
// for the next one (texturing, the bound texture, the blend function, the
// lights and materials, the texture matrix). Saved between frames and put
// back, it makes a restored show state draw exactly as it did when saved.
// The view (viewport, projection) is the window's and stays as it is; the
// modelview is loaded afresh by every frame.
#pragma once

#include <GL/gl.h>

#include <functional>
#include <string>
#include <vector>

class GlState {
public:
    // Reads the state of the current context.
    static GlState save();
    // Sets it again on the current context.
    void restore() const;

    // One piece of that state: its name, how many numbers hold it, and how
    // it is read from and set on the current context. save() and restore()
    // go through this list alone, in its order, so no piece is read without
    // being set again; the tests go through it too.
    struct Field {
        std::string name;
        int count;
        std::function<void(GLfloat* values)> read;
        std::function<void(const GLfloat* values)> write;
    };
    static const std::vector<Field>& fields();

private:
    std::vector<GLfloat> values;  // the fields' numbers, one field after another
};
