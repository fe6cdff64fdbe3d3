// Draws a model as triangles wearing a sphere-mapped environment texture, so
// it looks like polished metal reflecting its surroundings.
#pragma once

#include <lib3ds/node.h>

#include <string>

#include "model/CShader.h"
#include "render/Texture.h"

class CEnvMapShader : public CShader {
public:
    // No map yet: setTexture loads one.
    CEnvMapShader();
    // Loads the map from the JPG at once.
    explicit CEnvMapShader(const char* fileName);

    void render(Lib3dsFile* file) override;
    // A new renderer that loads the same map file again (none if this one
    // has no map).
    std::unique_ptr<CShader> clone() override;

    // Loads the map from a JPG; a missing file ends the process. The name is
    // kept for clone.
    void setTexture(const char* fileName);

    const Texture& getTexture() const { return texture; }

private:
    std::unique_ptr<Lib3dsNode> walkStart;
    bool firstRender = true;
    Texture texture;
    std::string textureFile;
};
