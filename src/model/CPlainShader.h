// Draws a model as lit, untextured triangles.
#pragma once

#include <lib3ds/node.h>

#include "model/CShader.h"

class CPlainShader : public CShader {
public:
    void render(Model* model) override;
    CShader* clone() override;

private:
    Lib3dsNode* walkStart = nullptr;
    bool firstRender = true;
};
