// A 3DS model of the show: the file, loaded with lib3ds when the model is
// built (a file that cannot be loaded ends the process), and the renderers
// that draw it. Scenes pick a renderer through `shaders` and draw once a frame.
#pragma once

#include <lib3ds/file.h>

#include "model/ShaderSet.h"

class CShader;

class Model {
public:
    // fileName as the show names it ("demoMesh\\queen.3ds"). Draws with the
    // plain renderer until another is selected.
    explicit Model(const char* fileName);
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Evaluates the animation at `frame` and draws it with the current
    // renderer; nothing when frame >= the file's frame count.
    void draw(int frame);

    // Makes `shader` current. Every node's cached list is forgotten (not
    // deleted), so the new renderer compiles its own on its next draw.
    void setShader(CShader* shader);

    Lib3dsFile* getFile() const { return file; }
    int getFrameCount() const { return frameCount; }
    CShader* getShader() const { return current; }

    ShaderSet shaders;

private:
    Lib3dsFile* file = nullptr;
    CShader* current = nullptr;
    int frameCount = 0;
};
