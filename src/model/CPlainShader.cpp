#include "model/CPlainShader.h"

#include <GL/gl.h>

#include "model/Model.h"
#include "model/NodeWalk.h"

void CPlainShader::render(Model* model) {
    Lib3dsFile* file = model->getFile();
    if (firstRender) {
        walkStart = copyFirstNode(file);
        firstRender = false;
    }
    glDisable(GL_TEXTURE_2D);
    renderTopLevel(walkStart.get(), file, GL_TRIANGLES);
}

std::unique_ptr<CShader> CPlainShader::clone() { return std::make_unique<CPlainShader>(); }
