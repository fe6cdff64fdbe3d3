// Draws a model as lit, untextured triangles.
#pragma once

#include <lib3ds/node.h>

#include "model/CShader.h"

class CPlainShader : public CShader {
public:
    void render(Lib3dsFile* file) override;
    std::unique_ptr<CShader> clone() override;

private:
    std::unique_ptr<Lib3dsNode> walkStart;
    bool firstRender = true;
};
