// The renderers that draw a Model: each walks the model's node tree, compiles
// one display list per object node the first time it meets it, and calls the
// lists under the node transforms of the current frame. They differ in the
// primitive they emit and the texturing around the walk.
#pragma once

#include <memory>

struct Lib3dsFile;

class CShader {
public:
    // Draws the current frame of a model's 3DS file, as the file was last evaluated.
    virtual void render(Lib3dsFile* file) = 0;
    // A new renderer of the same kind, owned by the caller.
    virtual std::unique_ptr<CShader> clone() = 0;

    virtual ~CShader() = default;
};
